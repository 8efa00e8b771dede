#include "store/CodePage.h"

#include "store/Text.h"

#include <atomic>

namespace tabbern {

namespace {

// Bytes 0x80-0x9F of Windows-1252; the undefined 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their
// own value. Every other byte is the code point of the same value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

class Windows1252CodePage final : public CodePage {
public:
    std::string decode(std::string_view bytes) const override {
        std::string out;
        out.reserve(bytes.size());
        std::size_t i = 0;
        while (i < bytes.size()) {
            // Runs of ASCII, nearly all of a data file, are copied whole.
            std::size_t run = i;
            while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
                ++run;
            out.append(bytes.substr(i, run - i));
            if (run == bytes.size())
                break;
            const auto b = static_cast<unsigned char>(bytes[run]);
            if (b < 0xA0)
                AppendUtf8(out, kHighControls[b - 0x80]);
            else
                AppendUtf8(out, b);
            i = run + 1;
        }
        return out;
    }

    bool singleByte() const override { return true; }

    bool encode(std::string_view utf8, std::string& out) const override {
        out.clear();
        out.reserve(utf8.size());
        std::size_t i = 0;
        while (i < utf8.size()) {
            bool valid = false;
            const char32_t cp = NextCodePoint(utf8, i, valid);
            if (!valid)
                return false;
            int byte = ByteOf(cp);
            if (byte < 0)
                return false;
            out.push_back(static_cast<char>(byte));
        }
        return true;
    }

private:
    static int ByteOf(char32_t cp) {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
            return static_cast<int>(cp);
        for (int k = 0; k < 32; ++k)
            if (kHighControls[k] == cp)
                return 0x80 + k;
        return -1;
    }
};

std::atomic<const CodePage*> g_active{nullptr};

} // namespace

const CodePage& Windows1252() {
    static const Windows1252CodePage instance;
    return instance;
}

const CodePage& ActiveCodePage() {
    const CodePage* cp = g_active.load(std::memory_order_acquire);
    return cp ? *cp : Windows1252();
}

void SetActiveCodePage(const CodePage& cp) {
    g_active.store(&cp, std::memory_order_release);
}

} // namespace tabbern
