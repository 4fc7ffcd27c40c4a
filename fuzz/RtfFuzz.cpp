// Any bytes read as rich text without a crash or a hang, and what was read
// survives writing and reading again: the same text, and the same rich text
// when written once more.
#include "Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void RoundTrip(const std::string &Input)
{
    QTextDocument first;
    ReadRtf(Input, first);
    const std::string written = WriteRtf(first);
    QTextDocument second;
    ReadRtf(written, second);
    if (second.toRawText() != first.toRawText() || WriteRtf(second) != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app =
        QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;

    const std::string input(reinterpret_cast<const char *>(Data), Size);
    RoundTrip(input);
    // The same bytes spelled in rich text's own alphabet reach the control
    // words, escapes and tables that random bytes seldom form.
    static const std::string alphabet = "{}\\\\'uparlinebfscl0123456789-; *tb\xe9";
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;\\red9;}";
    for (const uint8_t b : input)
        rtf.push_back(alphabet[b % alphabet.size()]);
    RoundTrip(rtf);
    QTextDocument plain;
    ReadPlainText(input, plain);
    return 0;
}
