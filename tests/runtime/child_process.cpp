#include "tests/runtime/child_process.h"

#include "runtime/codepage.h"

namespace rt::testing {

std::string ReportedLine(const std::string& caption, const std::string& text) {
    auto utf8 = [](const std::string& s) { return kLiteralsAreCp936 ? Cp936ToUtf8(s) : s; };
    return utf8(caption) + ": " + utf8(text) + "\n";
}

}  // namespace rt::testing
