#pragma once
// The main window of one game: menu bar, score card, five dice, the roll button and two
// labels. Its widgets are the only store of the dice and the scores; the shell reaches them
// through the board, and hears of clicks and menu commands through WindowEvents.

#include <QMainWindow>
#include <array>
#include <memory>

#include "qt/WidgetBoard.h"
#include "shell/Frontend.h"
#include "state/GameState.h"

class QAction;
class QEventLoop;
class QLabel;
class QMenu;
class QPushButton;

namespace quintaro {

class ScoreGrid;

class MainWindow : public QMainWindow, public GameWindow {
    Q_OBJECT
  public:
    MainWindow(const GameState& state, const WindowTexts& texts, WindowEvents& events,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // GameWindow
    WidgetBoard& board() override { return *board_; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    bool runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                          OptionsChoice& choice) override;
    void pause(int milliseconds) override;
    int selectedRow() const override;
    void selectRow(int row) override;
    void focusScoreCard() override;
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
    // Whether the window is in the pause after the computer's turn.
    bool pausing() const { return pausing_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenuBar(const WindowTexts& texts);
    // A key of play from the keyboard, whichever control has the focus; false for other keys.
    bool handleGameKey(int key);
    // The control number of the focused widget, -1 for none of the board's.
    int focusedControl() const;

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
    bool pausing_ = false;
    QEventLoop* pauseLoop_ = nullptr;  // the pause's own loop while it runs
    unsigned hintedDice_ = 0;
};

}  // namespace quintaro
