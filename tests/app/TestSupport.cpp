#include "tests/app/TestSupport.h"

#include <QApplication>
#include <QPushButton>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "settings/KeyValueFile.h"

namespace quintaro::testing {

int RepeatRandom::draw(int maximum) {
    int value;
    if (values_.empty()) {
        state_ = state_ * 1103515245u + 12345u;
        value = int((state_ >> 16) & 0x7fff);
    } else {
        value = values_[std::size_t(draws_) % values_.size()];
    }
    ++draws_;
    return value % (maximum + 1);
}

namespace {
std::filesystem::path uniqueFolder() {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           ("quintaro-app-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
}
}  // namespace

ScratchFolder::ScratchFolder(bool withLanguageFiles)
    : previous_(std::filesystem::current_path()), path_(uniqueFolder()) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    if (withLanguageFiles) {
        for (const char* name : {"en.lang", "de.lang", "bg.lang"}) {
            std::filesystem::copy_file(std::filesystem::path(QUINTARO_ASSETS_DIR) / name,
                                       path_ / name);
        }
    }
    std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
}

bool ScratchFolder::exists(const std::string& name) const {
    return std::filesystem::exists(path_ / name);
}

MessageBoxWatcher::MessageBoxWatcher(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    timer_.start(5);
}

void MessageBoxWatcher::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        return;
    }
    seen_.push_back({box->windowTitle(), box->text()});
    if (QAbstractButton* button = box->button(answer_)) {
        button->click();
    } else {
        box->reject();
    }
}

std::string languageText(const std::string& file, const std::string& key) {
    KeyValueFile texts;
    texts.open((std::filesystem::path(QUINTARO_ASSETS_DIR) / file).string());
    return texts.readText(key, "");
}

}  // namespace quintaro::testing
