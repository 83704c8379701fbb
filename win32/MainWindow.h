#pragma once
// The Windows edition's main window of one game: menu bar, score card (a report-view list
// control), five push-like dice, the roll button and two labels. Its controls are the only
// store of the dice and the scores; the rules reach them through the Board interface. The
// cell colours live with the score card, here in its adapter, where its custom drawing reads
// them.

#include <windows.h>
// After windows.h: the list control's custom-draw record.
#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "rules/Board.h"
#include "shell/Frontend.h"
#include "shell/Layout.h"
#include "state/GameState.h"

namespace quintaro {

inline constexpr wchar_t mainWindowClass[] = L"QuintaroMain";

class MainWindow : public GameWindow, public Board {
  public:
    // Builds the window and shows it, with the players of the state.
    MainWindow(const GameState& state, const WindowTexts& texts, WindowEvents& events);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // GameWindow
    Board& board() override { return *this; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    bool runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                          OptionsChoice& choice) override;
    void pause(int milliseconds) override;
    int selectedRow() const override;
    void selectRow(int row) override;
    void focusScoreCard() override;
    void showHint(const HintView& hint) override;
    void clearHint() override;
    void setAccessibleTexts(const AccessibleTexts& texts) override;

    // A key pressed while this window or one of its controls has the focus: true when it was
    // a key of play and went to the shell.
    bool handleKey(UINT key);

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
    bool pausing() const { return pausing_; }
    // The background colour the score card draws a cell with (the window colour when none
    // is set), as its custom drawing hands it to the control.
    COLORREF cellBackground(int row, int column) const;
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
    // Background colour per score-card cell (rows 0..14, columns 0..4); none = free.
    std::array<std::array<std::optional<Colour>, 5>, rowCount> colours_{};
    bool pausing_ = false;
    bool closeDuringPause_ = false;
    bool hintShown_ = false;
    unsigned hintedDice_ = 0;
    std::string handTextBeforeHint_;
};

}  // namespace quintaro
