#pragma once
// The Qt edge of the core: UTF-8 std::string <-> QString, and the game's two fonts.

#include <QFont>
#include <QString>
#include <string>
#include <string_view>

namespace quintaro {

class KeyValueFile;

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string toStdString(const QString& text) {
    return text.toStdString();
}

// readText of an open key=value file, as a QString.
QString readUiText(const KeyValueFile& file, std::string_view key, std::string_view defaultText);

// The system's default GUI font: the small sans-serif font of dialogs, labels, the roll
// button and the score card.
QFont guiFont();
// "Arial" at 16 points: the dice and the hand label.
QFont diceFont();

}  // namespace quintaro

namespace quintaro {

// Makes Qt's own texts (the Yes, No and OK buttons of message boxes, the line editor's
// context menu) follow the game's language, given by its two-letter code. English, or a
// language Qt has no translation for, leaves Qt's English texts.
void useToolkitLanguage(std::string_view languageCode);

}  // namespace quintaro
