// Source files as the editors read them: any bytes either are refused as binary (they hold a
// NUL) or decode to an editor text with CR LF breaks only, which encodes back to bytes with the
// detected break throughout; a file whose breaks are all of its detected kind comes back byte
// for byte. The package scan of the Java editor reads the same untrusted text.

#include "core/editor/TextFile.h"
#include "core/editor/JavaSourceInfo.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// True when every break of the bytes is the style's break.
bool HasOnlyBreaksOf(std::string_view bytes, tovin::ELineEndStyle style) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        if (crlf) {
            if (style != tovin::ELineEndStyle::CrLf) {
                return false;
            }
            ++i;
        } else if (bytes[i] == '\r' && style != tovin::ELineEndStyle::Cr) {
            return false;
        } else if (bytes[i] == '\n' && style != tovin::ELineEndStyle::Lf) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto decoded = tovin::DecodeTextFile(bytes);
    Require(decoded.has_value() == (bytes.find('\0') == std::string::npos));
    if (!decoded) {
        return 0;
    }
    Require(HasOnlyBreaksOf(decoded->text, tovin::ELineEndStyle::CrLf));
    Require(decoded->eightBit == !tovin::IsValidUtf8(bytes));
    const std::string encoded = tovin::EncodeTextFile(decoded->text, decoded->lineEnd,
                                                      decoded->byteOrderMark, decoded->eightBit);
    Require(HasOnlyBreaksOf(encoded, decoded->lineEnd));
    std::string_view body(bytes);
    if (decoded->byteOrderMark) {
        body.remove_prefix(tovin::kUtf8Bom.size());
    }
    if (HasOnlyBreaksOf(body, decoded->lineEnd)) {
        Require(encoded == bytes);
    }
    // Decoding what was encoded gives the same editor text.
    auto again = tovin::DecodeTextFile(encoded);
    Require(again && again->text == decoded->text);

    const std::string package = tovin::ExtractPackageName(decoded->text);
    Require(package.find(';') == std::string::npos);
    return 0;
}
