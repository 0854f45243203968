// Conversions between texts, numbers and byte buffers.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/text.h"
#include "runtime/text_scan.h"

namespace rt {
namespace {

template <typename T>
ByteBuffer StorageBytes(T value) {
    // The platform is little-endian, so the storage bytes are the value's own.
    ByteBuffer bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// Civil date of a day number counted from 1 January 1970.
void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
}

// Full-width forms become half-width, as LCMAP_HALFWIDTH does for code page
// 936: A3A1..A3FE are the full-width ASCII forms (except A3A4, the yen sign,
// and A3FE, the macron, which have no half-width ASCII form) and A1A1 is the
// ideographic space. Lead bytes step over their pair.
Text ToHalfWidth(const Text& text) {
    Text result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            result.push_back(text[i]);
            i += 1;
            continue;
        }
        if (i + 1 >= text.size()) {
            result.push_back(text[i]);
            break;
        }
        const unsigned char t = static_cast<unsigned char>(text[i + 1]);
        if (c == 0xA3 && t == 0xAF) {
            result.push_back('/');  // "／"
        } else if (c == 0xA3 && t == 0xDC) {
            result.push_back('\\');  // "＼"
        } else if (c == 0xA3 && t >= 0xA1 && t <= 0xFD && t != 0xA4) {
            result.push_back(static_cast<char>(t - 0x80));
        } else if (c == 0xA1 && t == 0xA1) {
            result.push_back(' ');
        } else {
            result.append(text, i, 2);
        }
        i += 2;
    }
    return result;
}

// The standard atoi reading; a value beyond the 32-bit range is clamped to
// it, as the Windows C runtime does.
std::int32_t ReadDecimal(const Text& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    const long long cap = negative ? 2147483648LL : 2147483647LL;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > cap) value = cap;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

// Real to integer by truncation; NaN and values outside the 32-bit range give
// the x86 "integer indefinite" value, as the original conversion instruction does.
std::int32_t TruncateReal(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

}  // namespace

Text ToText(const Text& value) { return value; }
Text ToText(const char* value) { return value == nullptr ? Text() : Text(value); }
Text ToText(std::int32_t value) { return std::to_string(value); }
Text ToText(std::uint8_t value) { return std::to_string(static_cast<unsigned>(value)); }
Text ToText(std::int16_t value) { return std::to_string(static_cast<int>(value)); }
Text ToText(std::int64_t value) { return std::to_string(static_cast<long long>(value)); }
Text ToText(float value) { return ToText(static_cast<double>(value)); }

Text ToText(double value) {
    // Six decimals whatever the C locale says about the decimal point.
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    Text result = ec == std::errc() ? Text(buffer, end) : Text();
    const std::size_t point = result.find('.');
    if (point != Text::npos) {
        std::size_t end = result.size();
        while (end > point + 1 && result[end - 1] == '0') --end;
        if (end == point + 1) --end;
        result.resize(end);
    }
    return result;
}

Text ToText(bool value) { return value ? "真" : "假"; }

Text ToText(const ByteBuffer& value) {
    if (value.empty()) return {};
    const void* zero = std::memchr(value.data(), 0, value.size());
    const std::size_t n =
        zero == nullptr
            ? value.size()
            : static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - value.data());
    return Text(reinterpret_cast<const char*>(value.data()), n);
}

Text ToText(DateTime value) {
    // The calendar covers years 100 to 9999, like the date type it stands for.
    if (!(value.days > -657435.0 && value.days < 2958466.0)) return {};
    double whole = std::trunc(value.days);
    long long seconds = std::llround(std::fabs(value.days - whole) * 86400.0);
    long long day = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        day += 1;
    }
    long long year;
    unsigned month, dayOfMonth;
    CivilFromDays(day - 25569, year, month, dayOfMonth);  // 30 Dec 1899 is day -25569 of 1970
    const int h = static_cast<int>(seconds / 3600);
    const int mi = static_cast<int>(seconds / 60 % 60);
    const int s = static_cast<int>(seconds % 60);
    char buffer[96];
    int len = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", static_cast<int>(year),
                            static_cast<int>(month), static_cast<int>(dayOfMonth));
    if (s != 0) {
        len += std::snprintf(buffer + len, sizeof buffer - len, "%d时%d分%d秒", h, mi, s);
    } else if (mi != 0) {
        len += std::snprintf(buffer + len, sizeof buffer - len, "%d时%d分", h, mi);
    } else if (h != 0) {
        len += std::snprintf(buffer + len, sizeof buffer - len, "%d时", h);
    }
    return Text(buffer, static_cast<std::size_t>(len));
}

std::int32_t ToInteger(const Text& value) { return ReadDecimal(ToHalfWidth(value)); }
std::int32_t ToInteger(const char* value) { return ToInteger(ToText(value)); }
std::int32_t ToInteger(std::int32_t value) { return value; }
std::int32_t ToInteger(std::uint8_t value) { return value; }
std::int32_t ToInteger(std::int16_t value) { return value; }
std::int32_t ToInteger(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}
std::int32_t ToInteger(float value) { return TruncateReal(value); }
std::int32_t ToInteger(double value) { return TruncateReal(value); }
std::int32_t ToInteger(bool value) { return value ? 1 : 0; }

Text CharText(std::int32_t code) {
    const char c = static_cast<char>(code & 0xFF);
    return c == 0 ? Text() : Text(1, c);
}

Text HexText(std::int32_t value) {
    char buffer[16];
    int len = std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
    return Text(buffer, static_cast<std::size_t>(len));
}

ByteBuffer ToBytes(const Text& value) { return ByteBuffer(value.begin(), value.end()); }
ByteBuffer ToBytes(std::uint8_t value) { return StorageBytes(value); }
ByteBuffer ToBytes(std::int16_t value) { return StorageBytes(value); }
ByteBuffer ToBytes(std::int32_t value) { return StorageBytes(value); }
ByteBuffer ToBytes(std::int64_t value) { return StorageBytes(value); }
ByteBuffer ToBytes(float value) { return StorageBytes(value); }
ByteBuffer ToBytes(double value) { return StorageBytes(value); }
ByteBuffer ToBytes(bool value) { return StorageBytes(static_cast<std::int32_t>(value ? 1 : 0)); }
ByteBuffer ToBytes(DateTime value) { return StorageBytes(value.days); }

}  // namespace rt
