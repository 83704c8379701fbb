#pragma once
// The main window of one game: menu bar, score card, five dice, the roll button and two
// labels. Its widgets are the only store of the dice and the scores; the shell reaches them
// through the board, and hears of clicks and menu commands through WindowEvents.

#include <QMainWindow>
#include <array>
#include <memory>

#include "qt/WidgetBoard.h"
#include "shell/Frontend.h"

class QAction;
class QKeyEvent;
class QTimer;
class QLabel;
class QMenu;
class QPushButton;

namespace quintaro {

class OptionsDialog;
class ScoreGrid;

class MainWindow : public QMainWindow, public GameWindow {
    Q_OBJECT
  public:
    MainWindow(const WindowSetup& setup, WindowEvents& events, QWidget* parent = nullptr);
    ~MainWindow() override;

    // GameWindow
    WidgetBoard& board() override { return *board_; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    void askYesNo(const std::string& caption, const std::string& text) override;
    void showOptions(const OptionsTexts& texts, const OptionsView& view) override;
    void closeOptions() override;
    void startPause(int milliseconds) override;
    void showSelection(int row) override;
    int focusedControl() const override;
    void focusControl(int control) override;
    void frameDice(unsigned dice) override;
    void describeHint(const std::string& description) override;
    AccessibleSink& accessibleSink() override { return *board_; }

    // The dice the coach's hint has framed, bit d-1 for die d.
    unsigned hintedDice() const { return hintedDice_; }

    ScoreGrid* scoreCard() const { return scoreCard_; }
    QPushButton* die(int number) const { return dice_.at(std::size_t(number - 1)); }
    QPushButton* rollButton() const { return rollButton_; }
    QLabel* turnLabel() const { return turnLabel_; }
    QLabel* handLabel() const { return handLabel_; }
    QAction* menuAction(int item) const;
    QMenu* languageMenu() const { return languageMenu_; }
    // The options dialog while it is open.
    OptionsDialog* optionsDialog() const { return options_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenuBar(const WindowTexts& texts);
    // A key from the keyboard, whichever control has the focus; true when it was a key of play.
    bool handleKey(const QKeyEvent& key);

    WindowEvents& events_;
    ScoreGrid* scoreCard_ = nullptr;
    QPushButton* rollButton_ = nullptr;
    QLabel* turnLabel_ = nullptr;
    QLabel* handLabel_ = nullptr;
    std::array<QPushButton*, 5> dice_{};
    QMenu* languageMenu_ = nullptr;
    // Menu titles and items by MenuText, and the items by item number.
    std::array<QAction*, menuTextCount> menuTexts_{};
    std::array<QAction*, menuItemLimit> actions_{};
    std::unique_ptr<WidgetBoard> board_;
    QTimer* pauseTimer_ = nullptr;
    OptionsDialog* options_ = nullptr;
    unsigned hintedDice_ = 0;
};

}  // namespace quintaro
