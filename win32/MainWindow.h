#pragma once
// The Windows edition's main window of one game: menu bar, score card (a report-view list
// control), five push-like dice, the roll button and two labels. Its controls are the only
// store of the dice and the scores; the rules reach them through the window's board
// (win32/WindowsBoard).

#include <windows.h>
// After windows.h: the list control's custom-draw record.
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "shell/Frontend.h"
#include "shell/Layout.h"
#include "state/GameState.h"
#include "win32/WindowsBoard.h"

namespace quintaro {

inline constexpr wchar_t mainWindowClass[] = L"QuintaroMain";

class MainWindow : public GameWindow {
  public:
    // Builds the window and shows it, with the players of the setup.
    MainWindow(const WindowSetup& setup, WindowEvents& events);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // GameWindow
    WindowsBoard& board() override { return *board_; }
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

    // A key pressed while this window or one of its controls has the focus, as its virtual
    // key: true when the shell took it as a key of play (the window then drops it).
    bool handleKey(UINT key);

    HWND handle() const { return window_; }
    HWND control(int number) const { return board_->control(number); }
    HMENU menu() const { return menu_; }
    // The options dialog while it is open, else nullptr.
    HWND optionsDialog() const { return options_; }
    // The score card's row drawn as selected, -1 for none.
    int shownSelection() const { return selected_; }
    bool pausing() const { return pausing_; }
    COLORREF cellBackground(int row, int column) const {
        return board_->cellBackground(row, column);
    }
    // The hint in words as the hand label's tooltip shows it, "" for none.
    std::string hintTip() const;
    // The window stops reporting to the shell: it is on its way out.
    void detach();
    // The dice the coach's hint has framed, bit d-1 for die d.
    unsigned hintedDice() const { return hintedDice_; }
    // The density the window is laid out for.
    int dpi() const { return dpi_; }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT customDraw(NMLVCUSTOMDRAW& draw);
    LRESULT drawDie(NMCUSTOMDRAW& draw, int die);
    void redrawDice();
    void buildMenuBar(const WindowTexts& texts);
    // Sizes the window and places every control, with its font, for the window's density.
    void layOut();
    // The row the player clicked on the score card, -1 below the rows.
    int clickedRow() const;

    MainWindowLayout layout_;
    int dpi_ = baseDpi;
    int playerCount_;
    WindowEvents* events_;
    HWND window_ = nullptr;
    HWND scoreCard_ = nullptr;
    HWND rollButton_ = nullptr;
    HWND turnLabel_ = nullptr;
    HWND handLabel_ = nullptr;
    std::array<HWND, 5> dice_{};
    HMENU menu_ = nullptr;
    // Per menu text: the popup that holds it and its position there (titles) or item number.
    struct MenuPlace {
        HMENU owner = nullptr;
        UINT id = 0;
        bool byPosition = false;
        HMENU popup = nullptr;  // for titles and the submenu
        std::wstring key;       // the key shown beside an item
    };
    std::array<MenuPlace, menuTextCount> menuPlaces_{};
    std::unique_ptr<WindowsBoard> board_;
    HWND hintTip_ = nullptr;  // the tooltip of the hand label while a hint is on show
    HWND options_ = nullptr;
    bool pausing_ = false;
    unsigned hintedDice_ = 0;
    // The shell's selection; the list control's own follows it and nothing else.
    int selected_ = -1;
    bool showingSelection_ = false;
    // Where the keys go while the window is not the active one (a box over it), and when it
    // is active again.
    int wantedFocus_ = RollButton;
};

}  // namespace quintaro
