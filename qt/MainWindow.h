#pragma once
// The main window of one game: menu bar, score card, five dice, the roll button and two
// labels. Its widgets are the only store of the dice and the scores; the rules reach them
// through the Board interface.

#include <QMainWindow>
#include <array>
#include <memory>

#include "rules/Board.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"

class QAction;
class QEventLoop;
class QLabel;
class QMenu;
class QPushButton;

namespace quintaro {

class ScoreGrid;

// Menu item numbers of the main window.
enum MenuItem : int {
    NewGameItem = 1,
    ExitItem = 2,
    RulesItem = 3,
    AboutItem = 4,
    OptionsItem = 5,
    EnglishItem = 10,
    GermanItem = 11,
    BulgarianItem = 12,
};

class MainWindow : public QMainWindow, public Board {
    Q_OBJECT
  public:
    static constexpr int clientWidth = 600;
    static constexpr int clientHeight = 300;

    explicit MainWindow(GameState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Board
    std::string cellText(int row, int column) const override;
    void setCellText(int row, int column, const std::string& text) override;
    bool cellColourSet(int row, int column) const override;
    void setCellColour(int row, int column, Colour colour) override;
    void setRowColour(int row, Colour colour) override;
    bool dieHeld(int die) const override;
    void setDieHeld(int die, bool held) override;
    std::string controlText(int control) const override;
    void setControlText(int control, const std::string& text) override;
    bool controlEnabled(int control) const override;
    void setControlEnabled(int control, bool enabled) override;
    void showMessage(const std::string& caption, const std::string& text) override;

    ScoreGrid* scoreCard() const { return scoreCard_; }
    QPushButton* die(int number) const { return dice_.at(std::size_t(number - 1)); }
    QPushButton* rollButton() const { return rollButton_; }
    QLabel* turnLabel() const { return turnLabel_; }
    QLabel* handLabel() const { return handLabel_; }
    QAction* menuAction(int item) const;
    QMenu* languageMenu() const { return languageMenu_; }
    const TurnFlow& turnFlow() const { return *turnFlow_; }
    // Whether the window is in the pause after the computer's turn.
    bool pausing() const { return pausing_; }

    // The menu commands, as the menu items run them.
    void chooseMenuItem(int item);
    void switchLanguage(int index);
    void showAbout();
    void showOptions();

  signals:
    // New Game was confirmed: the game is to be rebuilt with the same players.
    void newGameRequested();
    // Exit was chosen, or the close box used: the program is to shut down.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenuBar(const class KeyValueFile& texts);
    void askNewGame();
    void pause(int milliseconds);
    QWidget* control(int number) const;

    GameState& state_;
    ScoreGrid* scoreCard_ = nullptr;
    QPushButton* rollButton_ = nullptr;
    QLabel* turnLabel_ = nullptr;
    QLabel* handLabel_ = nullptr;
    std::array<QPushButton*, 5> dice_{};
    QMenu* gameMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    std::array<QAction*, 13> actions_{};
    std::unique_ptr<TurnFlow> turnFlow_;
    bool pausing_ = false;
    QEventLoop* pauseLoop_ = nullptr;  // the pause's own loop while it runs
    bool closing_ = false;             // the close box was used
};

}  // namespace quintaro
