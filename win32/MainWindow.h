#pragma once
// The Windows edition's main window of one game: menu bar, score card (a report-view list
// control), five push-like dice, the roll button and two labels. Its controls are the only
// store of the dice and the scores; the rules reach them through the Board interface. The
// cell colours live with the score card's control, here in the adapter, as its custom
// drawing needs them.

#include <windows.h>
// After windows.h: the list control's custom-draw record.
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "rules/Board.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"

namespace quintaro {

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

inline constexpr wchar_t mainWindowClass[] = L"QuintaroMain";

class MainWindow : public Board {
  public:
    static constexpr int clientWidth = 600;
    static constexpr int clientHeight = 300;

    // How a game window ends: the program shuts down, or a new game with the same players.
    enum class Ending { Running, Exit, NewGame };

    // Builds the window and shows it; `replacing` (the new-game dialog or the previous game's
    // window) is closed once this one is up.
    explicit MainWindow(GameState& state, HWND replacing = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

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

    HWND handle() const { return window_; }
    HWND control(int number) const;
    HMENU menu() const { return menu_; }
    const TurnFlow& turnFlow() const { return *turnFlow_; }
    Ending ending() const { return ending_; }
    bool pausing() const { return pausing_; }
    // The background colour the score card draws a cell with (the window colour when none
    // is set).
    COLORREF cellBackground(int row, int column) const;

    // The menu commands, as the menu items run them.
    void chooseMenuItem(int item);

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);
    void build(HWND replacing);
    void buildMenuBar(const class KeyValueFile& texts);
    void askNewGame();
    void showAbout();
    void showOptions();
    void switchLanguage(int index);
    void pause(int milliseconds);
    void end(Ending how);

    GameState& state_;
    HWND window_ = nullptr;
    HWND scoreCard_ = nullptr;
    HWND rollButton_ = nullptr;
    HWND turnLabel_ = nullptr;
    HWND handLabel_ = nullptr;
    std::array<HWND, 5> dice_{};
    HMENU menu_ = nullptr;
    HMENU gameMenu_ = nullptr;
    HMENU toolsMenu_ = nullptr;
    HMENU helpMenu_ = nullptr;
    // Background colour per score-card cell (rows 0..14, columns 0..4); none = free.
    std::array<std::array<std::optional<Colour>, 5>, rowCount> colours_{};
    std::unique_ptr<TurnFlow> turnFlow_;
    Ending ending_ = Ending::Running;
    bool pausing_ = false;
    bool closeDuringPause_ = false;
};

// Start-up to shutdown: settings, sound, the new-game dialog once, then one main window per
// game until the program ends. Returns the exit code, always 0.
int runQuintaro();

}  // namespace quintaro
