#pragma once
// The options dialog: the seconds the computer's hand stays on show and its stronger level.
// It shows the form the shell gives it and reports every edit; the shell decides the rest.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "shell/Frontend.h"

class QCheckBox;
class QLineEdit;

namespace quintaro {

class OptionsDialog : public QObject {
  public:
    // Opens the dialog over mainWindow, which is off while it is open.
    OptionsDialog(QWidget* mainWindow, const OptionsTexts& texts, DialogEvents& events);
    ~OptionsDialog() override;
    // Shows the form as it now stands.
    void show(const OptionsView& view);
    // Takes the dialog away and turns the main window on again.
    void close();
    QWidget* window() const;

  private:
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<QWidget> window_;
    QLineEdit* field_ = nullptr;
    QCheckBox* stronger_ = nullptr;
};

}  // namespace quintaro
