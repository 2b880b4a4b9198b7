// SPDX-License-Identifier: GPL-3.0-or-later
// Takes arbitrary bytes as a request URL and the Location a server answers with: the redirect
// decision gives one of its codes, a target only for 506 and 507 that is clean and fits a cell,
// and the status text written for it names that target.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "inet/redirect.h"
#include "inet/status_texts.h"

using lt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    static constexpr int kCodes[] = {301, 302, 303, 307, 308};
    const int code = lt::NormalizeStatus(kCodes[data[0] % 5]);
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    // The URL and the Location are split at the first NUL byte.
    const std::size_t cut = rest.find('\0');
    const std::string_view url = rest.substr(0, cut);
    const std::string_view location = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);

    std::string target;
    const int status = lt::ClassifyRedirect(code, url, location, target);
    Check(status == code || status == 301 || status == lt::kStatusRedirectInside ||
          status == lt::kStatusRedirectElsewhere);
    if (status == lt::kStatusRedirectInside || status == lt::kStatusRedirectElsewhere) {
        Check(!target.empty() && target.size() <= lt::kMaxUrlLength);
        Check(lt::IsCleanUrlText(target));
        const std::string text = lt::StatusAnswerText(status, url, target);
        Check(text == lt::kStatusOkText || text == "Redirected:  " + target);
    }
    const std::string root = lt::HostRoot(url);
    Check(root.empty() || root.back() == '/');
    const std::string finished = lt::StatusAnswerText(lt::NormalizeStatus(static_cast<long>(size) * 7 - 300), url, "");
    Check(!finished.empty());
    return 0;
}
