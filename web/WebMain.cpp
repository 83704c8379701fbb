// The browser edition's core: the game's shell over the page's front end. The page's script
// starts it (quintaro_start) and hands it every event of the player's through the exported
// functions below; none of them waits.

#include <emscripten/emscripten.h>

#include <memory>

#include "shell/GameShell.h"
#include "state/GameState.h"
#include "web/TestHooks.h"
#include "web/WebBridge.h"
#include "web/WebFrontend.h"

namespace {

struct Game {
    quintaro::GameState state;
    quintaro::WebFrontend frontend;
    quintaro::GameShell shell{state, frontend};
};

std::unique_ptr<Game>& game() {
    static std::unique_ptr<Game> g;
    return g;
}

// The shell of the running game, or nullptr once it has ended. A window the last event took
// away goes now, outside that event's handling.
quintaro::GameShell* shell() {
    Game* g = game().get();
    if (g == nullptr || g->frontend.quitting()) {
        return nullptr;
    }
    g->frontend.dropClosedWindows();
    return &g->shell;
}

}  // namespace

const quintaro::Board* quintaro::pageBoard(int& players) {
    Game* g = game().get();
    if (g == nullptr || g->frontend.window() == nullptr) {
        return nullptr;
    }
    players = g->state.playerCount;
    return &g->frontend.window()->board();
}

int main() {
    return 0;
}

extern "C" {

// Reads the settings and shows the new-game dialog. The coach's table is adopted once the
// worker has built it (quintaro_adopt_coach_table).
EMSCRIPTEN_KEEPALIVE void quintaro_start() {
    if (game()) {
        return;
    }
    game() = std::make_unique<Game>();
    quintaro::setWebCoach(&game()->shell.coach());
    game()->shell.startUp();
}

EMSCRIPTEN_KEEPALIVE void quintaro_roll() {
    if (quintaro::GameShell* s = shell()) {
        s->roll();
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_die_clicked(int die) {
    if (quintaro::GameShell* s = shell()) {
        s->dieClicked(die);
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_row_clicked(int row) {
    if (quintaro::GameShell* s = shell()) {
        s->rowClicked(row);
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_menu_item(int item) {
    if (quintaro::GameShell* s = shell()) {
        s->chooseMenuItem(item);
    }
}

// A key in the main window: its character (a digit, an upper-case letter, ' '; 0 for a named
// key), the named key (0 none, 1 Up, 2 Down, 3 Enter), the modifiers (shell/Keys.h) and the
// focused control. Returns 1 for a key of play, which the page then drops.
EMSCRIPTEN_KEEPALIVE int quintaro_key(int character, int named, unsigned modifiers, int focused) {
    quintaro::GameShell* s = shell();
    if (s == nullptr || named < 0 || named > 3) {
        return 0;
    }
    const quintaro::KeyEvent event{
        {char(character), quintaro::NamedKey(named)}, modifiers, focused};
    return s->keyPressed(event) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void quintaro_pause_ended() {
    if (quintaro::GameShell* s = shell()) {
        s->pauseEnded();
    }
}

// A picture of the new-game dialog: 1 people, 2 the computer; 0 the dialog's Escape.
EMSCRIPTEN_KEEPALIVE void quintaro_mode_chosen(int mode) {
    if (quintaro::GameShell* s = shell()) {
        if (mode == 0) {
            s->newGameCloseRequested();
        } else {
            s->modeChosen(mode == 1 ? quintaro::GameMode::People : quintaro::GameMode::Computer);
        }
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_input_box_answered(int ok, const char* text) {
    if (quintaro::GameShell* s = shell()) {
        s->inputBoxAnswered(ok ? quintaro::InputBoxAction::Ok : quintaro::InputBoxAction::Cancel,
                            text != nullptr ? text : "");
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_yes_no_answered(int yes) {
    if (quintaro::GameShell* s = shell()) {
        s->yesNoAnswered(yes != 0);
    }
}

EMSCRIPTEN_KEEPALIVE void quintaro_message_closed() {
    if (quintaro::GameShell* s = shell()) {
        s->messageClosed();
    }
}

// An edit in the options dialog: kind as OptionsEditKind (0 typed, 1 field left, 2 step,
// 3 stronger box, 4 Apply, 5 Cancel), the field's text, the step, the box's state.
EMSCRIPTEN_KEEPALIVE void quintaro_options_edited(int kind, const char* text, int step,
                                                  int stronger) {
    quintaro::GameShell* s = shell();
    if (s == nullptr || kind < 0 || kind > int(quintaro::OptionsEditKind::Cancel)) {
        return;
    }
    s->optionsEdited(
        {quintaro::OptionsEditKind(kind), text != nullptr ? text : "", step, stronger != 0});
}
}
