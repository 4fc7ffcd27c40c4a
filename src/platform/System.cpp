#include "System.h"

#include "Text.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <cctype>
#include <climits>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<std::string> CommandLine()
{
    // The kernel's copy is the command line as started, before any library
    // took its own options out of argv.
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = all.find('\0', start);
        out.push_back(all.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

bool IsWebAddress(const std::string &File)
{
    const auto colon = File.find(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i)
        if (!std::isalnum(static_cast<unsigned char>(File[i])) && File[i] != '+' &&
            File[i] != '-' && File[i] != '.')
            return false;
    return File.compare(colon, 3, "://") == 0 || File.compare(0, colon, "mailto") == 0;
}

bool HasGui()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

} // namespace

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    const std::string exe(path, std::size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}

std::string ParamStr(int Index)
{
    const std::vector<std::string> args = CommandLine();
    return Index >= 0 && std::size_t(Index) < args.size() ? args[std::size_t(Index)] : "";
}

int ParamCount()
{
    const std::size_t n = CommandLine().size();
    return n > 0 ? int(n) - 1 : 0;
}

std::vector<std::string> SplitParameters(const std::string &Parameters)
{
    std::vector<std::string> out;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < Parameters.size(); ++i) {
        const char c = Parameters[i];
        if (c == '\\') {
            // Backslashes are literal unless a quote follows them: then each
            // pair gives one, and an odd one makes the quote literal.
            std::size_t end = i;
            while (end < Parameters.size() && Parameters[end] == '\\')
                ++end;
            const std::size_t slashes = end - i;
            const bool beforeQuote = end < Parameters.size() && Parameters[end] == '"';
            current.append(beforeQuote ? slashes / 2 : slashes, '\\');
            if (beforeQuote && slashes % 2 == 1) {
                current += '"';
                i = end;
            } else {
                i = end - 1;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                out.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        out.push_back(current);
    return out;
}

bool ShellExecute(const std::string &Operation, const std::string &File,
                  const std::string &Parameters, const std::string &Directory, int)
{
    if (!Operation.empty() && Operation != "open")
        return false;
    if (IsWebAddress(File))
        return HasGui() && QDesktopServices::openUrl(QUrl(FromFileName(File)));

    std::string path = File;
    if (!path.empty() && path[0] != '/' && !Directory.empty())
        path = Directory + "/" + path;
    struct stat st = {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (::access(path.c_str(), X_OK) == 0) {
        QStringList arguments;
        for (const std::string &a : SplitParameters(Parameters))
            arguments << FromFileName(a);
        return QProcess::startDetached(FromFileName(path), arguments, FromFileName(Directory));
    }
    return HasGui() && QDesktopServices::openUrl(QUrl::fromLocalFile(FromFileName(path)));
}
