// SPDX-License-Identifier: GPL-3.0-or-later
// BlockReader over a file that shrinks while it is read: the input is written at the start of a
// sparse file a little over one (small) block long and again across the first block's end; positions drawn
// from the input are read, and after one of them the file is cut to a length drawn from the input.
// Every byte answered before the cut's end is the file's, every byte beyond it is the file's or -1.
// One reader serves every input, as the scanners keep theirs across files; its block is small so
// that an input costs a few kilobytes of reading rather than megabytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "search/block_reader.h"

namespace {

using lt::BlockReader;
using lt::fuzz::Check;

constexpr std::size_t kBlock = 8192;

struct Model
{
    const uint8_t* body;
    std::size_t length;
    uint64_t second; // where the second copy starts

    int At(uint64_t pos) const
    {
        if (pos < length)
            return body[pos];
        if (pos >= second && pos - second < length)
            return body[pos - second];
        return 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const std::string path = lt::fuzz::ScratchPath("fuzz_block_reader");
    static BlockReader reader(kBlock);
    if (size < 4)
        return 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Check(fd >= 0);
    const Model model{data, size, kBlock - size / 2};
    const uint64_t fileSize = model.second + size;
    Check(::pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    Check(::pwrite(fd, data, size, static_cast<off_t>(model.second)) == static_cast<ssize_t>(size));

    const bool borrowed = data[0] & 1;
    if (borrowed)
        reader.Borrow(lt::OpenedFile{fd, (data[0] & 2) ? fileSize : lt::OpenedFile::kUnknownSize});
    else
        Check(reader.Open(path));

    const std::size_t cutAfter = data[1] % 16;
    const uint64_t cutTo = fileSize * data[2] / 255;
    uint64_t length = fileSize;
    std::size_t probe = 0;
    for (std::size_t i = 3; i + 1 < size && probe < 48; i += 2, ++probe) {
        if (probe == cutAfter) {
            Check(::ftruncate(fd, static_cast<off_t>(cutTo)) == 0);
            length = cutTo;
        }
        // Positions near the start, near the block's end, and anywhere.
        const unsigned v = data[i] | (data[i + 1] << 8);
        uint64_t pos = v % 3 == 0 ? v % 4096 : v % 3 == 1 ? model.second - 2048 + v % 4096 : fileSize * v / 65535;
        pos += v & 7; // sometimes past the end
        const int got = reader.At(pos);
        if (pos < length)
            Check(got == model.At(pos));
        else
            Check(got == -1 || (pos < fileSize && got == model.At(pos)));
        std::size_t available = 0;
        const uint8_t* span = reader.Span(pos, available);
        Check(available == 0 || span != nullptr);
        for (std::size_t k = 0; k < std::min<std::size_t>(available, 64); ++k)
            Check(pos + k < fileSize && span[k] == model.At(pos + k));
        Check(reader.Size() <= fileSize);
    }
    reader.Close();
    ::close(fd);
    return 0;
}
