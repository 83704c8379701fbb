#include "qt/Document.h"

#include <QFile>
#include <QString>
#include <QtGlobal>

#include <filesystem>
#include <system_error>

#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
#include <QDesktopServices>
#include <QUrl>
#else
#include <QProcess>
#include <QStringList>
#endif

namespace quintaro {

void openDocument(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path path(fileName);
    // Only an existing regular file is handed on, and never started itself: a rules.txt
    // that happens to be executable is still only shown.
    if (fileName.empty() || !std::filesystem::is_regular_file(path, error)) {
        return;
    }
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return;
    }
    const QString document = QFile::decodeName(absolute.lexically_normal().native().c_str());
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QDesktopServices::openUrl(QUrl::fromLocalFile(document));
#else
    // The freedesktop opener picks the program for the file's type and shows it in its own
    // window. It is started detached, so the game never waits for it; its messages (a
    // missing program, say) are discarded, and a missing opener is ignored.
    QProcess opener;
    opener.setProgram(QStringLiteral("xdg-open"));
    opener.setArguments({document});
    opener.setStandardInputFile(QProcess::nullDevice());
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    opener.startDetached();
#endif
}

}  // namespace quintaro
