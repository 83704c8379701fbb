// Every text of the three language files fits the control it is shown in, measured with the
// game's own fonts: a label that is too long is cut off on screen without any warning.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <filesystem>
#include <string>

#include "qt/UiText.h"
#include "settings/KeyValueFile.h"
#include "tests/assets/AssetTestSupport.h"

namespace quintaro {
namespace {

enum class Font { Gui, Dice };

struct Fit {
    std::string_view key;
    Font font;
    int maxWidth;  // pixels available to the text itself
    std::string_view control;
};

// Widths are the controls' sizes less their frames and padding.
constexpr Fit kFits[] = {
    {"Nines", Font::Gui, 82, "score-card label column (90 px less cell padding)"},
    {"Tens", Font::Gui, 82, "score-card label column"},
    {"Jacks", Font::Gui, 82, "score-card label column"},
    {"Queens", Font::Gui, 82, "score-card label column"},
    {"Kings", Font::Gui, 82, "score-card label column"},
    {"Aces", Font::Gui, 82, "score-card label column"},
    {"Bonus", Font::Gui, 82, "score-card label column"},
    {"Pair", Font::Gui, 82, "score-card label column"},
    {"TwoPair", Font::Gui, 82, "score-card label column"},
    {"Trips", Font::Gui, 82, "score-card label column"},
    {"Straight", Font::Gui, 82, "score-card label column"},
    {"FH", Font::Gui, 82, "score-card label column"},
    {"4K", Font::Gui, 82, "score-card label column"},
    {"5K", Font::Gui, 82, "score-card label column"},
    {"Total", Font::Gui, 82, "score-card label column"},
    {"roll", Font::Gui, 110, "roll button (120 px)"},
    {"hands0", Font::Dice, 120, "hand label (120 px, one line)"},
    {"hands1", Font::Dice, 120, "hand label"},
    {"hands2", Font::Dice, 120, "hand label"},
    {"hands3", Font::Dice, 120, "hand label"},
    {"hands4", Font::Dice, 120, "hand label"},
    {"hands5", Font::Dice, 120, "hand label"},
    {"hands6", Font::Dice, 120, "hand label"},
    {"hands7", Font::Dice, 120, "hand label"},
    {"ShowCPUhand", Font::Gui, 165, "options label before the seconds field (165 px)"},
    {"sec", Font::Gui, 60, "options label after the seconds field (60 px)"},
    {"strongerCPU", Font::Gui, 235, "options check box (255 px less the box)"},
    {"apply", Font::Gui, 67, "Apply button (75 px less its frame)"},
    {"cancel", Font::Gui, 67, "Cancel button (75 px less its frame)"},
    {"enterNrP", Font::Gui, 280, "prompt of the text-input box (280 px, one line)"},
    {"enterName", Font::Gui, 280, "prompt of the text-input box (280 px, one line)"},
    {"gameMode", Font::Gui, 300, "title bar of the 405 px new-game dialog"},
};

class TextFitTest : public ::testing::TestWithParam<std::string_view> {};

TEST_P(TextFitTest, EveryTextFitsItsControl) {
    testing::TempDir temp;
    const auto copy = temp.path() / std::string(GetParam());
    std::filesystem::copy_file(testing::assetPath(GetParam()), copy);
    KeyValueFile file;
    ASSERT_TRUE(file.open(copy.string()));

    const QFontMetrics gui(guiFont());
    const QFontMetrics dice(diceFont());
    for (const Fit& fit : kFits) {
        const QString text = toQString(file.readText(fit.key, ""));
        SCOPED_TRACE(std::string(fit.key) + " = \"" + text.toStdString() + "\" in " +
                     std::string(fit.control));
        ASSERT_FALSE(text.isEmpty());
        const QFontMetrics& metrics = fit.font == Font::Gui ? gui : dice;
        EXPECT_LE(metrics.horizontalAdvance(text), fit.maxWidth);
    }
    file.close();
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, TextFitTest, ::testing::ValuesIn(testing::kLanguageFiles),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                             return std::string(info.param.substr(0, 2));
                         });

TEST(GameFonts, AreArialOrItsMetricTwin) {
    // The widths above only mean something with the game's real fonts; a fallback font
    // (fonts-liberation2 not installed) would measure something else.
    for (const QFont& font : {guiFont(), diceFont()}) {
        const QString family = QFontInfo(font).family();
        EXPECT_TRUE(family == QStringLiteral("Arial") ||
                    family == QStringLiteral("Liberation Sans"))
            << family.toStdString();
    }
    EXPECT_EQ(QFontInfo(guiFont()).pixelSize(), 11);
}

TEST(GameFonts, CoverCyrillicAndGermanLetters) {
    // A missing glyph would be drawn from another font, with other widths.
    const QString letters =
        QString::fromUtf8("ÄÖÜäöüßАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЬЮЯабвгдежзийклмнопрстуфхцчшщъьюя");
    for (const QFont& font : {guiFont(), diceFont()}) {
        const QFontMetrics metrics(font);
        for (QChar c : letters) {
            EXPECT_TRUE(metrics.inFont(c)) << QString(c).toStdString();
        }
    }
}

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
