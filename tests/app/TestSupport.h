#pragma once
// Shared helpers of the app tests: a repeatable random source, a scratch folder with the
// game's language files, and a watcher that answers modal message boxes.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "rules/Random.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

// Draws from a fixed list over and over (each value taken modulo maximum + 1), or from a
// seeded linear congruential sequence when the list is empty.
class RepeatRandom : public RandomSource {
  public:
    explicit RepeatRandom(std::vector<int> values, unsigned seed = 1)
        : values_(std::move(values)), state_(seed) {}
    int draw(int maximum) override;
    int draws() const { return draws_; }

  private:
    std::vector<int> values_;
    unsigned state_;
    int draws_ = 0;
};

// Installs a random source for the lifetime of the object.
class RandomScope {
  public:
    explicit RandomScope(RandomSource& source) : previous_(setRandomSource(&source)) {}
    ~RandomScope() { setRandomSource(previous_); }

  private:
    RandomSource* previous_;
};

// A fresh temporary folder, made the current folder, holding copies of the language files;
// the previous current folder is restored and the folder removed afterwards.
class ScratchFolder : public test::TempFolder {
  public:
    explicit ScratchFolder(bool withLanguageFiles = true);
};

// Answers every modal message box that opens while it lives with `answer`, and records its
// title and text.
class MessageBoxWatcher : public QObject {
  public:
    explicit MessageBoxWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    struct Seen {
        QString title;
        QString text;
        bool operator==(const Seen&) const = default;
    };
    const std::vector<Seen>& seen() const { return seen_; }
    void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }

  private:
    void poll();
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    std::vector<Seen> seen_;
};

// A game state for a game of `players` named Ann, Bob, Cid and Dee, or Ann against the
// computer, with texts from `language`.
GameState gameState(int players, int computerMode = 0, const std::string& language = "en.lang");

// Reads a key from a language file in the assets folder (for expected texts).
std::string languageText(const std::string& file, const std::string& key);

}  // namespace quintaro::testing
