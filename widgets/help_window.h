#pragma once
// The program's help viewer: one window that shows the compiled-in pages.
// Escape and Ctrl+W close it.

#include <QWidget>

class QTextBrowser;

namespace belvorine {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window, created on first use.
    static HelpWindow* instance();

    // Shows `topic` ("::/name.html"; empty for the contents page).
    void showTopic(const QString& topic);
    QString topic() const { return topic_; }

private:
    HelpWindow();
    void followModalDialog();
    void belongTo(QWidget* owner);
    void placeOnce();
    QTextBrowser* browser_;
    QString topic_;
    bool placed_ = false;
};

}  // namespace belvorine
