// The help window: one for the whole program, showing the page of a window (compiled into
// the program as a resource, :/help/<kind>.html) with back and forward, a contents list of
// every page and a text search over all of them. Links of the form window:<kind> open that
// window.
#pragma once

#include <QTextBrowser>

#include "kit/form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

namespace help {
// Shows the pages with their experiments (the resource text alone lacks them).
class PageBrowser : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override;
};
}  // namespace help

class frmHelp : public FormWindow {
    Q_OBJECT
public:
    frmHelp();

public slots:
    // Shows the page of window kind `kind` (the main menu's for an unknown kind), at `anchor`.
    // F1 here then comes back to this page.
    void ShowPage(const QString& kind, const QString& anchor = {});
    void cmdBack_Click();
    void cmdForward_Click();
    // Finds the next place of the searched text: on, after the cursor in this page, then in
    // the following pages of the contents, coming round to this page's top.
    void cmdFind_Click();
    void lstContents_Click(int row);

private:
    void open(const QString& kind, const QString& anchor);
    void sourceChanged(const QUrl& url);
    void linkClicked(const QUrl& url);
    QString currentKind() const;

    QListWidget* contents_;
    help::PageBrowser* browser_;
    QLineEdit* find_;
    QLabel* found_;
    QPushButton* back_;
    QPushButton* forward_;
};

}  // namespace kv
