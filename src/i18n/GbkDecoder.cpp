#include "i18n/GbkDecoder.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace {
constexpr char kReplacement[] = "\xEF\xBF\xBD"; // U+FFFD

class IconvHandle
{
public:
    IconvHandle() : cd_(iconv_open("UTF-8", "CP936")) {}
    ~IconvHandle()
    {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(static_cast<intptr_t>(-1)); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

// Without the converter (a C library lacking CP936) ASCII still reads; the rest is replaced.
std::string DecodeAsciiOnly(std::span<const uint8_t> bytes)
{
    std::string out;
    for (uint8_t b : bytes) {
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else {
            out += kReplacement;
        }
    }
    return out;
}
} // namespace

std::string DecodeGbk(std::span<const uint8_t> bytes)
{
    IconvHandle cd;
    if (!cd.Valid()) {
        return DecodeAsciiOnly(bytes);
    }
    std::string out;
    char buffer[1024];
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd.Get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ (not GBK) or EINVAL (truncated at the end): replace one byte and go on.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}
