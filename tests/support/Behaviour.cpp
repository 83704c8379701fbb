#include "tests/support/Behaviour.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

namespace quintaro::testing {

std::vector<BehaviourCase> behaviourCases() {
    std::ifstream file(QUINTARO_TESTS_DIR "/behaviour/cases.txt");
    std::vector<BehaviourCase> cases;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind("case ", 0) == 0) {
            cases.push_back({line.substr(5), {}});
        } else if (!cases.empty()) {
            cases.back().lines.push_back({number, line});
        }
    }
    return cases;
}

std::vector<std::string> behaviourCaseNames() {
    std::vector<std::string> names;
    for (const BehaviourCase& c : behaviourCases()) {
        names.push_back(c.name);
    }
    return names;
}

BehaviourCase behaviourCase(const std::string& name) {
    for (BehaviourCase& c : behaviourCases()) {
        if (c.name == name) {
            return c;
        }
    }
    return {};
}

std::string behaviourTestName(const std::string& name) {
    std::string out;
    bool upper = true;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            upper = true;
            continue;
        }
        out += upper ? char(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return out;
}

namespace {

bool yes(const std::string& word) {
    return word == "yes";
}

// Runs lines [from, to) of the case; returns false once a step could not run.
void runLines(EditionDriver& driver, const BehaviourCase& behaviour, std::size_t from,
              std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const BehaviourCase::Line& line = behaviour.lines[i];
        const std::string where =
            behaviour.name + ", line " + std::to_string(line.number) + ": " + line.text;
        SCOPED_TRACE(where);
        std::istringstream words(line.text);
        std::string verb;
        words >> verb;
        if (verb == "repeat") {
            int times = 0;
            words >> times;
            // The lines up to the matching end.
            std::size_t end = i + 1;
            for (int depth = 1; end < to; ++end) {
                const std::string& text = behaviour.lines[end].text;
                depth += text.rfind("repeat ", 0) == 0 ? 1 : text == "end" ? -1 : 0;
                if (depth == 0) {
                    break;
                }
            }
            for (int n = 0; n < times && !::testing::Test::HasFatalFailure(); ++n) {
                runLines(driver, behaviour, i + 1, end);
            }
            i = end;
            continue;
        }
        if (verb == "game") {
            int players = 2;
            std::string computer;
            words >> players >> computer;
            driver.startGame(players, computer == "computer");
        } else if (verb == "key") {
            std::string key;
            words >> key;
            const bool ctrl = key.rfind("Ctrl+", 0) == 0;
            driver.pressKey(ctrl ? key.substr(5) : key, ctrl);
        } else if (verb == "click") {
            std::string what;
            int number = 0;
            words >> what >> number;
            if (what == "roll") {
                driver.clickRoll();
            } else if (what == "die") {
                driver.clickDie(number);
            } else {
                driver.clickCell(number);
            }
        } else if (verb == "menu") {
            int item = 0;
            words >> item;
            driver.chooseMenuItem(item);
        } else if (verb == "answer") {
            std::string answer;
            words >> answer;
            driver.answer(answer);
        } else if (verb == "expect") {
            driver.settle(where);
            std::string what;
            words >> what;
            int a = 0;
            int b = 0;
            std::string word;
            if (what == "booked") {
                words >> a >> b;
                int booked = 0;
                for (int row = 0; row < rowCount; ++row) {
                    booked += isBookableRow(row) && isBooked(driver.board(), row, a) ? 1 : 0;
                }
                EXPECT_EQ(booked, b);
            } else if (what == "selection") {
                words >> a;
                EXPECT_EQ(driver.selectedRow(), a);
            } else if (what == "colour") {
                words >> a >> b >> word;
                EXPECT_EQ(driver.cellColour(a, b), std::stoul(word, nullptr, 16));
            } else if (what == "text") {
                words >> a;
                std::string text;
                std::getline(words, text);
                EXPECT_EQ(driver.board().controlText(a), text.empty() ? text : text.substr(1));
            } else if (what == "held") {
                words >> a >> word;
                EXPECT_EQ(driver.board().dieHeld(a), yes(word));
            } else if (what == "enabled") {
                words >> a >> word;
                EXPECT_EQ(driver.board().controlEnabled(a), yes(word));
            } else if (what == "focus") {
                words >> a;
                EXPECT_EQ(driver.focusedControl(), a);
            } else if (what == "message") {
                words >> word;
                EXPECT_EQ(driver.messageOpen(), yes(word));
            } else {
                ADD_FAILURE() << "unknown check";
            }
            continue;
        } else if (verb != "end") {
            ADD_FAILURE() << "unknown step";
        }
        driver.settle(where);
    }
}

}  // namespace

void runBehaviourCase(EditionDriver& driver, const BehaviourCase& behaviour) {
    ASSERT_FALSE(behaviour.lines.empty()) << "no such case: " << behaviour.name;
    runLines(driver, behaviour, 0, behaviour.lines.size());
}

}  // namespace quintaro::testing
