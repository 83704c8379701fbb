#include "qt/UiText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QStringList>
#include <QTranslator>

namespace quintaro {

namespace {
QFont arial() {
    QFont font;
    // Liberation Sans has Arial's metrics; fontconfig maps one to the other, but the
    // offscreen platform does not always, so both are named.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}
}  // namespace

QFont guiFont() {
    QFont font = arial();
    font.setPixelSize(11);
    return font;
}

QFont diceFont() {
    QFont font = arial();
    font.setPointSize(16);
    return font;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect geometry = window->geometry();
        geometry.moveCenter(screen->geometry().center());
        window->setGeometry(geometry);
    }
}

bool ModalLoop::run() {
    QEventLoop loop;
    loop_ = &loop;
    const int result = loop.exec();
    loop_ = nullptr;
    // A non-zero result means the whole program is quitting.
    return result == 0;
}

void ModalLoop::wake() {
    if (loop_ != nullptr) {
        loop_->quit();
    }
}

}  // namespace quintaro

namespace quintaro {

void useToolkitLanguage(std::string_view languageCode) {
    static QTranslator* installed = nullptr;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (languageCode.empty() || languageCode == "en" || QCoreApplication::instance() == nullptr) {
        return;
    }
    auto* translator = new QTranslator;
    if (translator->load(QStringLiteral("qtbase_") + toQString(languageCode),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        installed = translator;
    } else {
        delete translator;
    }
}

}  // namespace quintaro
