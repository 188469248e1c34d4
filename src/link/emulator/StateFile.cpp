#include "link/emulator/StateFile.h"

#include "files/SafeFileWriter.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {
constexpr std::array<uint8_t, 8> kMagic = {'D', '4', '6', '2', '0', 'E', 'M', 'U'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = kMagic.size() + 4 + 4;

uint32_t Crc32(std::span<const uint8_t> data)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFU;
    for (uint8_t b : data) {
        crc = table[(crc ^ b) & 0xFFU] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

template <size_t N> void PutBytes(std::vector<uint8_t>& out, const std::array<uint8_t, N>& a)
{
    out.insert(out.end(), a.begin(), a.end());
}

void PutSetting(std::vector<uint8_t>& out, const ProcessorSetting& s)
{
    PutBytes(out, s.memory);
    uint16_t count = 0;
    s.params.ForEach([&](int, int, std::span<const uint32_t>) { ++count; });
    out.push_back(static_cast<uint8_t>(count >> 8));
    out.push_back(static_cast<uint8_t>(count));
    s.params.ForEach([&](int block, int param, std::span<const uint32_t> words) {
        out.push_back(static_cast<uint8_t>(block));
        out.push_back(static_cast<uint8_t>(param));
        out.push_back(static_cast<uint8_t>(words.size()));
        for (uint32_t w : words) {
            PutU32(out, w);
        }
    });
}

// Reads the payload front to back; any read past the end marks it failed.
class Reader
{
public:
    explicit Reader(std::span<const uint8_t> data) : data_(data) {}
    bool Ok() const { return ok_; }
    bool AtEnd() const { return pos_ == data_.size(); }
    uint8_t U8()
    {
        if (pos_ >= data_.size()) {
            ok_ = false;
            return 0;
        }
        return data_[pos_++];
    }
    uint32_t U32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v = v << 8 | U8();
        }
        return v;
    }
    template <size_t N> void Bytes(std::array<uint8_t, N>& a)
    {
        for (uint8_t& b : a) {
            b = U8();
        }
    }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

bool ReadSetting(Reader& r, ProcessorSetting* s, std::string* error)
{
    r.Bytes(s->memory);
    const unsigned count = static_cast<unsigned>(r.U8() << 8 | r.U8());
    for (unsigned i = 0; i < count && r.Ok(); ++i) {
        const int block = r.U8();
        const int param = r.U8();
        const size_t words = r.U8();
        std::array<uint32_t, kDspMaxWords> w{};
        for (size_t k = 0; k < words && k < w.size(); ++k) {
            w[k] = r.U32();
        }
        if (!r.Ok()) {
            break;
        }
        // Every parameter must exist with exactly its width: anything else is not ours.
        if (s->params.Count(block, param) != words) {
            *error = "unknown parameter (" + std::to_string(block) + ", " + std::to_string(param) +
                     ") with " + std::to_string(words) + " words";
            return false;
        }
        s->params.Write(block, param, std::span<const uint32_t>(w.data(), words));
    }
    if (!r.Ok()) {
        *error = "the file ends early";
        return false;
    }
    return true;
}
} // namespace

std::vector<uint8_t> EncodeProcessorState(const ProcessorState& state)
{
    std::vector<uint8_t> payload;
    payload.push_back(state.currentMode);
    PutBytes(payload, state.machineSettings);
    PutBytes(payload, state.keyTable);
    PutBytes(payload, state.names);
    PutSetting(payload, state.working);
    for (const ProcessorSetting& m : state.modes) {
        PutSetting(payload, m);
    }

    std::vector<uint8_t> out(kMagic.begin(), kMagic.end());
    PutU32(out, kVersion);
    PutU32(out, static_cast<uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    PutU32(out, Crc32(payload));
    return out;
}

bool DecodeProcessorState(std::span<const uint8_t> bytes, ProcessorState* out, std::string* error)
{
    std::string scratch;
    std::string& why = error != nullptr ? *error : scratch;
    if (bytes.size() < kHeaderSize + 4 ||
        !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        why = "not an emulator state file";
        return false;
    }
    Reader header(bytes.subspan(kMagic.size(), 8));
    const uint32_t version = header.U32();
    const uint32_t size = header.U32();
    if (version != kVersion) {
        why = "unsupported state file version " + std::to_string(version);
        return false;
    }
    if (size != bytes.size() - kHeaderSize - 4) {
        why = "the file is truncated or has trailing bytes";
        return false;
    }
    const std::span<const uint8_t> payload = bytes.subspan(kHeaderSize, size);
    Reader crc(bytes.subspan(kHeaderSize + size, 4));
    if (crc.U32() != Crc32(payload)) {
        why = "checksum mismatch";
        return false;
    }

    // Parameters missing from the file keep their factory value; everything else is read.
    ProcessorState st = ProcessorState::Factory();
    Reader r(payload);
    st.currentMode = r.U8();
    r.Bytes(st.machineSettings);
    r.Bytes(st.keyTable);
    r.Bytes(st.names);
    if (!ReadSetting(r, &st.working, &why)) {
        return false;
    }
    for (ProcessorSetting& m : st.modes) {
        if (!ReadSetting(r, &m, &why)) {
            return false;
        }
    }
    if (!r.AtEnd()) {
        why = "unexpected bytes after the last mode";
        return false;
    }
    if (st.currentMode >= kProcessorModeCount) {
        why = "current mode " + std::to_string(st.currentMode) + " out of range";
        return false;
    }
    *out = st;
    return true;
}

StateFileResult LoadStateFile(const std::string& path, ProcessorState* out, std::string* error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return StateFileResult::Missing;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) {
            *error = "cannot open emulator state file " + path;
        }
        return StateFileResult::Damaged;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    std::string why;
    if (in.bad() || !DecodeProcessorState(bytes, out, &why)) {
        if (error != nullptr) {
            *error = "emulator state file " + path + " is damaged (" +
                     (why.empty() ? std::string("read error") : why) + ")";
        }
        return StateFileResult::Damaged;
    }
    return StateFileResult::Loaded;
}

bool SaveStateFile(const std::string& path, const ProcessorState& state, std::string* error)
{
    // Temporary file, flushed, then renamed over the old one: a failed save keeps the old.
    const FileWriteResult result = WriteFileReplacing(path, EncodeProcessorState(state));
    if (!result.ok && error != nullptr) {
        *error = "cannot save emulator state file " + path + ": " + result.reason;
    }
    return result.ok;
}
