#include "web/cookie_date.h"

#include <array>
#include <cctype>

namespace web {
namespace {

bool IsDelimiter(unsigned char c) {
    return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) ||
           (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading digits of `token` when there are `fewest` to `most` of them and
// no digit follows; -1 otherwise.
int LeadingNumber(std::string_view token, std::size_t fewest, std::size_t most) {
    std::size_t n = 0;
    int value = 0;
    for (; n < token.size() && IsDigit(token[n]); ++n) {
        if (n < most) value = value * 10 + (token[n] - '0');
    }
    return n >= fewest && n <= most ? value : -1;
}

// "hh:mm:ss" with one or two digits each, anything but a digit after it.
bool ReadTime(std::string_view token, int* hour, int* minute, int* second) {
    int* parts[] = {hour, minute, second};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (at >= token.size() || token[at++] != ':')) return false;
        *parts[i] = LeadingNumber(token.substr(at), 1, 2);
        if (*parts[i] < 0) return false;
        while (at < token.size() && IsDigit(token[at])) ++at;
    }
    return true;
}

int MonthOf(std::string_view token) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (token.size() < 3) return 0;
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        bool same = true;
        for (std::size_t i = 0; i < 3; ++i)
            same = same && std::tolower(static_cast<unsigned char>(token[i])) == kMonths[m][i];
        if (same) return static_cast<int>(m) + 1;
    }
    return 0;
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::int64_t> ParseCookieDate(std::string_view text) {
    int hour = -1, minute = -1, second = -1, day = -1, month = 0, year = -1;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsDelimiter(static_cast<unsigned char>(text[at]))) ++at;
        std::size_t end = at;
        while (end < text.size() && !IsDelimiter(static_cast<unsigned char>(text[end]))) ++end;
        const std::string_view token = text.substr(at, end - at);
        at = end;
        if (token.empty()) continue;
        int h, m, s;
        if (hour < 0 && ReadTime(token, &h, &m, &s)) {
            hour = h, minute = m, second = s;
        } else if (day < 0 && LeadingNumber(token, 1, 2) >= 0) {
            day = LeadingNumber(token, 1, 2);
        } else if (month == 0 && MonthOf(token) != 0) {
            month = MonthOf(token);
        } else if (year < 0 && LeadingNumber(token, 2, 4) >= 0) {
            year = LeadingNumber(token, 2, 4);
        }
    }
    if (year >= 70 && year <= 99) year += 1900;
    if (year >= 0 && year <= 69) year += 2000;
    if (hour < 0 || day < 1 || month == 0 || year < 1601 || hour > 23 || minute > 59 ||
        second > 59 || day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace web
