#include "qt/UiText.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include "settings/KeyValueFile.h"

namespace quintaro {

QString readUiText(const KeyValueFile& file, std::string_view key, std::string_view defaultText) {
    return toQString(file.readText(key, defaultText));
}

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
