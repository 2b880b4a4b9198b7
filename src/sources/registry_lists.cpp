// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/registry_lists.h"

#include "core/app_state.h"
#include "core/cp1252.h"
#include "list/list_kind.h"
#include "platform/file_info.h"
#include "sources/list_support.h"
#include "sources/windows_registry.h"

namespace lt {

namespace {

constexpr std::size_t kMaxUrl = 259;

// A value's data as list text: strings through Windows-1252, other data up to its first NUL.
std::string ValueText(const RegValue& value)
{
    std::string text;
    if ((value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz) &&
        value.data.size() % 2 == 0)
        text = RegistryFile::StringText(value.data);
    else
        text = value.data.substr(0, value.data.find('\0'));
    if (text.size() > kMaxUrl)
        text.resize(kMaxUrl);
    return text;
}

// The number of a value named "url<number>", or 0 for any other name.
unsigned long long UrlNumber(const std::string& name)
{
    if (name.size() < 4 || name.size() > 23 || !StartsWithNoCase(name, "url"))
        return 0;
    unsigned long long n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        n = n * 10 + static_cast<unsigned long long>(name[i] - '0');
    }
    return n;
}

// The sub-key name of a RAS row: the text without a real "http://" or "ftp://" in front.
std::string RasKeyName(const std::string& text)
{
    for (std::string_view prefix : {"http://", "ftp://"})
        if (StartsWithNoCase(text, prefix))
            return text.substr(prefix.size());
    return text;
}

bool OpenFor(AppState& app, RegistryRoot root, RegistryFile& reg)
{
    std::string error;
    if (OpenRegistry(app, root, reg, error))
        return true;
    ShowError(app, error);
    return false;
}

} // namespace

long ReadTypedUrls(AppState& app, int kind)
{
    if ((kind != kListIeTyped && kind != kListAboutUrls) || app.jobs.Running())
        return -1;
    ReadingJob job(app, kJobRegistry);
    const bool about = kind == kListAboutUrls;
    RegistryFile reg;
    if (!OpenFor(app, about ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser, reg))
        return -1;
    ClearResultList(app);
    const char* key = about ? kAboutUrlsKey : kTypedUrlsKey;
    if (!reg.KeyExists(key))
        return 0;
    SwitchListKind(app, kind);
    if (about)
        app.browserLists.homeSeen = false;
    for (const RegValue& value : reg.Values(key)) {
        const bool home = Cp1252EqualsNoCase(value.name, "Home");
        if (home && about) {
            app.browserLists.homeSeen = true;
            app.browserLists.homeType = value.type;
            app.browserLists.homeData = value.data;
        }
        const std::string url = ValueText(value);
        if (url.empty())
            break;
        if (home && about)
            continue;
        AddListRow(app, url, about ? value.name : std::string());
    }
    FinishListReading(app);
    return static_cast<long>(app.list.RowCount());
}

int WriteTypedUrls(AppState& app, int kind)
{
    app.browserLists.lastError.clear();
    if (kind != kListIeTyped && kind != kListAboutUrls)
        return kRegistryWriteFailed;
    const bool about = kind == kListAboutUrls;
    if (!AskYesNo(app, std::string("Save List as '") + (about ? "AboutURLs" : "Typed Urls") + "' to Internet Explorer ?"))
        return 0;
    const RegistryRoot root = about ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    RegistryFile reg;
    if (!OpenRegistry(app, root, reg, app.browserLists.lastError))
        return kRegistryWriteFailed;

    std::vector<std::pair<std::string, std::string>> rows;
    app.list.ForEachRow([&rows](std::size_t, const ResultRow& row) { rows.emplace_back(row.Cell(0), row.Cell(1)); });
    if (!about) {
        unsigned long long count = 0;
        for (const auto& [url, unused] : rows) {
            if (url.empty() || url.size() >= kMaxUrl)
                break;
            const std::string name = "url" + std::to_string(++count);
            // A value keeps its string type (an expandable one stays expandable).
            RegValue old;
            const uint32_t type = reg.QueryValue(kTypedUrlsKey, name, old) && old.type == kRegExpandSz ? kRegExpandSz : kRegSz;
            reg.SetString(kTypedUrlsKey, name, url, type);
        }
        // Every higher "url<n>" goes, also those of a list read in another run or left after gaps.
        for (const RegValue& value : reg.Values(kTypedUrlsKey))
            if (UrlNumber(value.name) > count)
                reg.DeleteValue(kTypedUrlsKey, value.name);
    } else {
        // The whole new key is built before the file is written once.
        for (const RegValue& value : reg.Values(kAboutUrlsKey))
            reg.DeleteValue(kAboutUrlsKey, value.name);
        for (const auto& [url, title] : rows) {
            const std::string_view name = TrimBlanks(title);
            if (!name.empty() && name.size() <= 258)
                reg.SetString(kAboutUrlsKey, name, TrimBlanks(url));
        }
        if (app.browserLists.homeSeen)
            reg.SetValue(kAboutUrlsKey, RegValue{"Home", app.browserLists.homeType, app.browserLists.homeData});
    }
    if (!SaveRegistry(app, root, reg, app.browserLists.lastError))
        return kRegistryWriteFailed;
    if (about)
        ShowInformation(app, "List items saved !");
    return 0;
}

void SaveListToInternetExplorer(AppState& app)
{
    if (WriteTypedUrls(app, app.listState.kind) != kRegistryWriteFailed)
        return;
    std::string text = "Could not save List to Internet Explorer !";
    if (!app.browserLists.lastError.empty())
        text += "\n" + app.browserLists.lastError;
    ShowError(app, text);
}

long ReadRasAutodial(AppState& app)
{
    if (app.jobs.Running())
        return -1;
    ReadingJob job(app, kJobRegistry);
    RegistryFile reg;
    if (!OpenFor(app, RegistryRoot::CurrentUser, reg))
        return -1;
    SwitchListKind(app, kListRasAutodial);
    for (const std::string& name : reg.SubKeys(kRasAddressesKey)) {
        std::string url = name;
        if (StartsWithNoCase(name, "ftp."))
            url = "ftp://" + name;
        else if (StartsWithNoCase(name, "www"))
            url = "http://" + name;
        std::string date;
        RegValue stamp;
        // Four bytes of seconds since 1970; shorter data leaves the date empty.
        if (reg.QueryValue(std::string(kRasAddressesKey) + "\\" + name, "LastModified", stamp) &&
            (stamp.type == kRegBinary || stamp.type == kRegDword) && stamp.data.size() >= 4) {
            uint32_t seconds = 0;
            for (int i = 3; i >= 0; --i)
                seconds = (seconds << 8) | static_cast<uint8_t>(stamp.data[static_cast<std::size_t>(i)]);
            date = FileDateText(seconds);
        }
        AddListRow(app, url.substr(0, kMaxUrl), date);
    }
    FinishListReading(app);
    return static_cast<long>(app.list.RowCount());
}

long DeleteRasAutodial(AppState& app)
{
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    if (selected.empty() || app.jobs.Running())
        return 0;
    RegistryFile reg;
    std::string error;
    if (!OpenRegistry(app, RegistryRoot::CurrentUser, reg, error) || !reg.KeyExists(kRasAddressesKey))
        return 0;
    if (!AskYesNo(app, "Delete selected items from Registry ?"))
        return 0;
    std::vector<std::size_t> removed;
    for (std::size_t row : selected) {
        const std::string text = app.list.GetCell(row, 0);
        // A row names one address: never the key itself or a deeper path (the cell can be edited).
        if (text.empty() || text.find('\\') != std::string::npos)
            continue;
        const std::string base = std::string(kRasAddressesKey) + "\\";
        if (reg.DeleteKey(base + text) || (RasKeyName(text) != text && reg.DeleteKey(base + RasKeyName(text))))
            removed.push_back(row);
    }
    if (!removed.empty() && !SaveRegistry(app, RegistryRoot::CurrentUser, reg, error)) {
        ShowError(app, "Could not delete the items from the Registry !\n" + error);
        return -1;
    }
    app.list.DeleteRows(removed);
    app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    if (removed.size() > 1)
        ShowInformation(app, std::to_string(removed.size()) + " Items deleted !");
    return static_cast<long>(removed.size());
}

} // namespace lt
