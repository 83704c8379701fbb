#include "shell/WindowTexts.h"

#include "settings/KeyValueFile.h"

namespace quintaro {

WindowTexts readWindowTexts(const std::string& languageFile, TextsFor purpose) {
    KeyValueFile file;
    file.open(languageFile);
    WindowTexts texts;
    texts.title = file.readText("Title", "Quintaro");
    for (int i = 0; i < menuTextCount; ++i) {
        const MenuTextSource& source = menuTextSources[std::size_t(i)];
        texts.menu[std::size_t(i)] =
            source.key.empty() ? std::string(source.fixedText) : file.readText(source.key, "");
    }
    if (purpose == TextsFor::NewWindow) {
        texts.menu[std::size_t(MenuText::About)] += "...";
    }
    for (int row = 0; row < rowCount; ++row) {
        const RowInfo& info = scoreRows[std::size_t(row)];
        texts.rowLabels[std::size_t(row)] =
            file.readText(info.key, purpose == TextsFor::NewWindow ? info.defaultLabel : "");
    }
    texts.roll = file.readText("roll", "");
    texts.hintBest = file.readText("HintBest", "Expected total with best play");
    texts.hintYours = file.readText("HintYours", "with your choice");
    texts.accessible = readAccessibleTexts(file);
    file.close();
    return texts;
}

std::string aboutText(const std::string& languageFile) {
    KeyValueFile file;
    file.open(languageFile);
    const std::string game = file.readText(
        "AboutGame",
        "A dice game for two to four players, or one player against the computer, with five "
        "dice showing 9, 10, J, Q, K and A.");
    const std::string licence =
        file.readText("AboutLicence", "Free software under the MIT licence.");
    file.close();
    return "Quintaro " QUINTARO_VERSION "\n\n" + game + "\n\n" + licence;
}

}  // namespace quintaro
