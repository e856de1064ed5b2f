#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "ui/about/SystemInfo.h"

class QLabel;
class QFrame;
class QPushButton;

namespace mdb {

class MessageSink;

// The version window frmAbout: title, version, last update, a description and the launcher of
// the system-information program.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const KeyValueStore& store, ProgramLauncher& launcher, MessageSink& messages,
             QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDescription = nullptr;
    QFrame* Line1[2] = {};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    // Keeps the box within `widest` pixels (0: as wide as the description's longest line); the
    // description wraps instead.
    void fitWidth(int widest);

private:
    void build();
    void load();

    const KeyValueStore& store_;
    ProgramLauncher& launcher_;
    MessageSink& messages_;
};

// The menu entry "バージョン(&V)": creates the about box on first use and shows it modally over
// the main window. The box is shown without a nested event loop; its modality keeps the main
// window from taking input until it is closed. It is a window of its own, not a child of the
// main window, so that its controls never answer a search for the main window's controls of
// the same name (both have a "Label1").
class AboutCommand : public QObject {
    Q_OBJECT
public:
    AboutCommand(QWidget* window, MessageSink& messages,
                 std::unique_ptr<KeyValueStore> store = nullptr,
                 std::unique_ptr<ProgramLauncher> launcher = nullptr);
    ~AboutCommand() override;

    void ShowAbout();
    // The widest the box may be, asked when it is first shown: the main window's narrowest view.
    void setWidest(std::function<int()> widest) { widest_ = std::move(widest); }
    AboutBox* box() const { return box_.get(); }

private:
    QWidget* window_;
    MessageSink& messages_;
    std::unique_ptr<KeyValueStore> store_;
    std::unique_ptr<ProgramLauncher> launcher_;
    std::unique_ptr<AboutBox> box_;
    std::function<int()> widest_;
};

}  // namespace mdb
