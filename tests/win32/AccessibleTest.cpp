// What a screen reader finds in the Windows edition's main window, asked as a screen reader
// asks: AccessibleObjectFromWindow on a control, then its name, role, state and children.

#include <windows.h>
// After windows.h.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "shell/GameShell.h"
#include "tests/support/GameSupport.h"
#include "tests/win32/WindowsTestSupport.h"
#include "win32/Accessible.h"
#include "win32/Dialogs.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace quintaro {
namespace {

using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;

// One control's object as the system hands it to a screen reader.
struct Object {
    explicit Object(HWND control) {
        if (FAILED(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object)))) {
            object = nullptr;
        }
    }
    ~Object() {
        if (object != nullptr) {
            object->Release();
        }
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    static VARIANT child(long id) {
        VARIANT variant;
        VariantInit(&variant);
        variant.vt = VT_I4;
        variant.lVal = id;
        return variant;
    }
    std::string text(HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*),
                     long id = CHILDID_SELF) const {
        if (object == nullptr) {
            return "<no object>";
        }
        BSTR text = nullptr;
        if (FAILED((object->*ask)(child(id), &text))) {
            return "<failed>";
        }
        std::string result = text != nullptr ? narrow(text) : std::string();
        SysFreeString(text);
        return result;
    }
    std::string name(long id = CHILDID_SELF) const { return text(&IAccessible::get_accName, id); }
    std::string value(long id) const { return text(&IAccessible::get_accValue, id); }
    long number(HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*),
                long id = CHILDID_SELF) const {
        VARIANT result;
        VariantInit(&result);
        if (object == nullptr || FAILED((object->*ask)(child(id), &result)) || result.vt != VT_I4) {
            return -1;
        }
        return result.lVal;
    }
    long role(long id = CHILDID_SELF) const { return number(&IAccessible::get_accRole, id); }
    long state(long id = CHILDID_SELF) const { return number(&IAccessible::get_accState, id); }

    IAccessible* object = nullptr;
};

// A cell's name, found as a screen reader walks the card: the child id is a simple element.
std::string cellName(MainWindow& window, int row, int column, int players) {
    Object card(window.control(ScoreCard));
    if (card.object == nullptr) {
        return "<no object>";
    }
    const long id = cellChildId(row, column, players);
    IDispatch* element = nullptr;
    if (card.object->get_accChild(Object::child(id), &element) != S_FALSE || element != nullptr) {
        return "<not a simple child>";
    }
    return card.name(id);
}

struct AccessibleTest : ::testing::Test {
    ScratchFolder folder;
};

TEST_F(AccessibleTest, NamesFollowRollsHoldsBookingsAndTheLanguage) {
    // Every die shows a King on every roll.
    RepeatRandom random({1});
    RandomScope scope(random);
    testing::Game game(testing::gameState(2));
    MainWindow& window = game.window();
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    const auto controlName = [&](int control) { return Object(window.control(control)).name(); };
    const auto cell = [&](int row, int column) { return cellName(window, row, column, 2); };

    struct Expected {
        int control;  // -1: the cell below
        int row;
        int column;
        const char* name;
    };
    const auto check = [&](const char* when, std::initializer_list<Expected> expected) {
        SCOPED_TRACE(when);
        for (const Expected& e : expected) {
            EXPECT_EQ(e.control >= 0 ? controlName(e.control) : cell(e.row, e.column), e.name)
                << e.control << " " << e.row << " " << e.column;
        }
    };

    check("a new game", {{Die1, 0, 0, "Die 1: not rolled"},
                         {RollButton, 0, 0, "Roll, rolls left: 2"},
                         {TurnLabel, 0, 0, "Ann"},
                         {HandLabel, 0, 0, ""},
                         {-1, 4, 1, "Kings, Ann: free"},
                         {-1, 6, 2, "15+ BONUS (3), Bob: 0"},
                         {-1, 14, 1, "Total, Ann: 0"}});
    testing::clickButton(window.control(RollButton));
    testing::clickButton(window.control(3));
    check("a roll and a hold", {{Die1, 0, 0, "Die 1: King"},
                                {3, 0, 0, "Die 3: King, held"},
                                {RollButton, 0, 0, "Roll, rolls left: 1"}});
    testing::clickButton(window.control(RollButton));
    check("the second roll",
          {{RollButton, 0, 0, "Roll, rolls left: 0"}, {HandLabel, 0, 0, "5 of a Kind"}});
    testing::clickCell(window, 4);
    testing::settle(game.frontend, "the booking of the Kings");
    check("a booking", {{-1, 4, 1, "Kings, Ann: 5, booked"},
                        {-1, 4, 2, "Kings, Bob: free"},
                        {-1, 14, 1, "Total, Ann: 5"},
                        {TurnLabel, 0, 0, "Bob"},
                        {3, 0, 0, "Die 3: not rolled"},
                        {RollButton, 0, 0, "Roll, rolls left: 2"}});
    testing::chooseMenu(window, GermanItem);
    check("German", {{Die1, 0, 0, "Würfel 1: nicht gewürfelt"},
                     {RollButton, 0, 0, "Würfeln, Würfe übrig: 2"},
                     {-1, 4, 1, "Könige, Ann: 5, eingetragen"},
                     {-1, 5, 2, "Asse, Bob: frei"},
                     {-1, 14, 1, "Gesamt, Ann: 5"}});
    testing::clickButton(window.control(RollButton));
    testing::clickButton(window.control(5));
    check("a German roll",
          {{5, 0, 0, "Würfel 5: König, gehalten"}, {RollButton, 0, 0, "Würfeln, Würfe übrig: 1"}});
}

TEST_F(AccessibleTest, RolesStatesAndTheCellsAsChildren) {
    RepeatRandom random({1});
    RandomScope scope(random);
    GameState state = testing::gameState(3);
    IAccessible* kept = nullptr;
    {
        testing::Game game(state);
        MainWindow& window = game.window();
        ASSERT_TRUE(game.toFront("the main window comes to the front"));
        testing::clickButton(window.control(RollButton));
        testing::clickButton(window.control(2));
        testing::clickButton(window.control(RollButton));
        testing::clickCell(window, 5);  // Ann books no Aces: "0"
        testing::settle(game.frontend, "the booking of the Aces");

        Object card(window.control(ScoreCard));
        ASSERT_NE(card.object, nullptr);
        long children = 0;
        ASSERT_EQ(card.object->get_accChildCount(&children), S_OK);
        EXPECT_EQ(children, 15 * 3);
        EXPECT_EQ(card.role(), ROLE_SYSTEM_TABLE);
        const struct {
            int row;
            int column;
            const char* name;
            const char* value;
        } cells[] = {{0, 1, "Nines, Ann: free", ""},
                     {5, 1, "Aces, Ann: 0, booked", "0"},
                     {5, 2, "Aces, Bob: free", ""},
                     {14, 3, "Total, Cid: 0", ""}};
        for (const auto& c : cells) {
            const long id = cellChildId(c.row, c.column, 3);
            EXPECT_EQ(card.name(id), c.name);
            EXPECT_EQ(card.value(id), c.value);
            EXPECT_EQ(card.role(id), ROLE_SYSTEM_CELL);
            // The card is closed until the next second roll.
            EXPECT_NE(card.state(id) & STATE_SYSTEM_UNAVAILABLE, 0);
        }
        // Past the last cell there is nothing.
        BSTR none = nullptr;
        EXPECT_EQ(card.object->get_accName(Object::child(15 * 3 + 1), &none), E_INVALIDARG);

        Object die(window.control(2));
        EXPECT_EQ(die.role(), ROLE_SYSTEM_CHECKBUTTON);
        EXPECT_EQ(die.state() & STATE_SYSTEM_CHECKED, 0);
        testing::clickButton(window.control(RollButton));
        testing::clickButton(window.control(2));
        EXPECT_NE(die.state() & STATE_SYSTEM_CHECKED, 0);
        EXPECT_EQ(Object(window.control(RollButton)).role(), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(Object(window.control(TurnLabel)).role(), ROLE_SYSTEM_STATICTEXT);
        // The window itself still comes from the system's proxy, with its title as the name.
        EXPECT_EQ(Object(window.handle()).name(), "Quintaro");

        kept = die.object;
        kept->AddRef();
    }
    // A client that keeps an object after the window has gone is told so, without a crash.
    BSTR name = nullptr;
    EXPECT_EQ(kept->get_accName(Object::child(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    kept->Release();
}

// The dialogs' controls are named by the system's proxy from their own texts and, for the
// number field, from the label before it, in the game's language.
std::vector<std::string> namesOf(HWND dialog, std::initializer_list<int> controls) {
    std::vector<std::string> names;
    for (int id : controls) {
        names.push_back(Object(GetDlgItem(dialog, id)).name());
    }
    return names;
}

TEST_F(AccessibleTest, TheDialogsControlsCarryTheirTextsAsNames) {
    for (const char* file : {"en.lang", "de.lang"}) {
        SCOPED_TRACE(file);
        const auto text = [file](const char* key) { return testing::languageText(file, key); };
        testing::Game game(testing::gameState(2, 1, file));
        testing::chooseMenu(game.window(), OptionsItem);
        HWND options = game.window().optionsDialog();
        ASSERT_NE(options, nullptr);
        std::vector<std::string> names =
            namesOf(options, {SecondsField, StrongerBox, ApplyButton, CancelButton});
        testing::pressBoxButton(options, CancelButton);
        game.frontend.showNewGameDialog(readNewGameTexts(file), game.shell);
        for (const std::string& name :
             namesOf(game.frontend.newGameDialog(), {PeopleButton, ComputerButton})) {
            names.push_back(name);
        }
        game.frontend.closeNewGameDialog();
        const std::vector<std::string> expected = {text("ShowCPUhand"), text("strongerCPU"),
                                                   text("apply"),       text("cancel"),
                                                   text("A11yPeople"),  text("A11yComputer")};
        EXPECT_EQ(names, expected);
    }
}

// A screen reader hears of every changed name, and of nothing that stayed the same.
std::vector<std::pair<HWND, long>> nameChanges;

void CALLBACK hearNameChange(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                             DWORD, DWORD) {
    if (event == EVENT_OBJECT_NAMECHANGE && object == OBJID_CLIENT) {
        nameChanges.emplace_back(window, child);
    }
}

TEST_F(AccessibleTest, ABookingAnnouncesTheNamesItChanged) {
    RepeatRandom random({1});
    RandomScope scope(random);
    testing::Game game(testing::gameState(2));
    MainWindow& window = game.window();
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    testing::clickButton(window.control(RollButton));
    testing::clickButton(window.control(RollButton));
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, hearNameChange,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    testing::settle(game.frontend, "the second roll");
    nameChanges.clear();
    testing::clickCell(window, 4);
    testing::settle(game.frontend, "the booking of the Kings");
    UnhookWinEvent(hook);
    const auto heard = [&](HWND control, long child) {
        return std::count(nameChanges.begin(), nameChanges.end(), std::pair{control, child});
    };
    HWND card = window.control(ScoreCard);
    const struct {
        HWND control;
        long child;
        bool heard;  // the system may add its own event for a label's new text
    } expected[] = {
        {card, cellChildId(4, 1, 2), true},          // the booked cell
        {card, cellChildId(totalRow, 1, 2), true},   // Ann's new total
        {card, cellChildId(4, 2, 2), false},         // Bob's cell, unchanged
        {card, cellChildId(bonusRow, 1, 2), false},  // still no bonus
        {window.control(TurnLabel), CHILDID_SELF, true},
        {window.control(HandLabel), CHILDID_SELF, true},
        {window.control(3), CHILDID_SELF, true},  // blank again
        {window.control(RollButton), CHILDID_SELF, true},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(heard(e.control, e.child) > 0, e.heard)
            << GetDlgCtrlID(e.control) << " " << e.child;
    }
}

}  // namespace
}  // namespace quintaro
