#include "shell/frmHelp.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>

#include "kit/controls.h"
#include "kit/registry.h"
#include "shell/help_pages.h"

namespace kv {

namespace {
// Room for a page line of about forty Japanese characters beside the contents list, within
// the smallest screen the program meets.
constexpr int kWidth = 780, kHeight = 600, kMargin = 8, kRow = 26, kListWidth = 210;
}  // namespace

QVariant help::PageBrowser::loadResource(int type, const QUrl& name) {
    const QString kind = KindOfUrl(name);
    if (type == QTextDocument::HtmlResource && !kind.isEmpty()) return PageHtml(kind);
    return QTextBrowser::loadResource(type, name);
}

frmHelp::frmHelp() : FormWindow(QStringLiteral("frmHelp"), QStringLiteral("ヘルプ")) {
    QWidget* c = content();
    const int top = kMargin + kRow + 6, right = kListWidth + 2 * kMargin;

    QLabel* contentsLabel = MakeLabel(c, "lblContents", QStringLiteral("目次"), QRect(kMargin, kMargin, 60, kRow));
    contents_ = new QListWidget(c);
    contents_->setObjectName("lstContents");
    contents_->setGeometry(kMargin, top, kListWidth, kHeight - top - kMargin);
    contents_->setWordWrap(true);
    for (const QString& kind : help::PageKinds()) {
        auto* item = new QListWidgetItem(help::ContentsTitle(kind), contents_);
        item->setData(Qt::UserRole, kind);
        item->setToolTip(item->text());
    }
    TieLabel(contentsLabel, contents_);
    connect(contents_, &QListWidget::currentRowChanged, this, &frmHelp::lstContents_Click);

    back_ = MakeButton(c, "cmdBack", QStringLiteral("戻る"), QRect(right, kMargin, 64, kRow), this, &frmHelp::cmdBack_Click);
    forward_ =
        MakeButton(c, "cmdForward", QStringLiteral("進む"), QRect(right + 70, kMargin, 64, kRow), this, &frmHelp::cmdForward_Click);
    back_->setToolTip(QStringLiteral("Alt+←"));
    forward_->setToolTip(QStringLiteral("Alt+→"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    QLabel* findLabel = MakeLabel(c, "lblFind", QStringLiteral("検索"), QRect(right + 150, kMargin, 40, kRow),
                                  Qt::AlignRight | Qt::AlignVCenter);
    find_ = MakeBox(c, "txtFind", QString(), QRect(right + 196, kMargin, 170, kRow));
    find_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    find_->setToolTip(QStringLiteral("Ctrl+F"));
    TieLabel(findLabel, find_);
    QPushButton* findNext =
        MakeButton(c, "cmdFind", QStringLiteral("次を検索"), QRect(right + 372, kMargin, 84, kRow), this, &frmHelp::cmdFind_Click);
    findNext->setToolTip(QStringLiteral("Enter"));
    connect(find_, &QLineEdit::returnPressed, this, &frmHelp::cmdFind_Click);
    // Where a search led, under the page.
    found_ = MakeLabel(c, "lblFound", QString(), QRect(right, kHeight - kMargin - kRow, kWidth - right - kMargin, kRow));

    browser_ = new help::PageBrowser(c);
    browser_->setObjectName("txtHelp");
    browser_->setGeometry(right, top, kWidth - right - kMargin, kHeight - top - 2 * kMargin - kRow);
    browser_->setOpenLinks(false);
    browser_->setAccessibleName(QStringLiteral("説明"));
    browser_->setAccessibleDescription(QStringLiteral("Tab でリンクを順に選び、Enter で開きます"));
    connect(browser_, &QTextBrowser::anchorClicked, this, &frmHelp::linkClicked);
    connect(browser_, &QTextBrowser::sourceChanged, this, &frmHelp::sourceChanged);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);

    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence::Back, &frmHelp::cmdBack_Click);
    shortcut(QKeySequence::Forward, &frmHelp::cmdForward_Click);
    shortcut(QKeySequence::Find, [this] { find_->setFocus(Qt::ShortcutFocusReason); });

    setContentSize(QSize(kWidth, kHeight));
    open(QStringLiteral("frmMain"), {});
}

void frmHelp::ShowPage(const QString& kind, const QString& anchor) {
    const QString page = help::PageKinds().contains(kind) ? kind : QStringLiteral("frmMain");
    setHelpPage(page, anchor);
    open(page, anchor);
    browser_->setFocus(Qt::OtherFocusReason);
}

void frmHelp::open(const QString& kind, const QString& anchor) {
    const QUrl url = help::PageUrl(kind, anchor);
    if (browser_->source() == url) {
        // The same page again (F1 once more): back to its place, as on first opening.
        if (anchor.isEmpty()) browser_->moveCursor(QTextCursor::Start);
        else browser_->scrollToAnchor(anchor);
        return;
    }
    browser_->setSource(url);
}

QString frmHelp::currentKind() const { return help::KindOfUrl(browser_->source()); }

void frmHelp::sourceChanged(const QUrl& url) {
    const int row = static_cast<int>(help::PageKinds().indexOf(help::KindOfUrl(url)));
    const QSignalBlocker quiet(contents_);
    contents_->setCurrentRow(row);
    found_->clear();
}

void frmHelp::linkClicked(const QUrl& url) {
    if (url.scheme() == QLatin1String("window")) {
        ShowWindow(url.path());
        return;
    }
    browser_->setSource(browser_->source().resolved(url));
}

void frmHelp::lstContents_Click(int row) {
    if (row >= 0 && row < help::PageKinds().size()) open(help::PageKinds()[row], {});
}

void frmHelp::cmdBack_Click() { browser_->backward(); }

void frmHelp::cmdForward_Click() { browser_->forward(); }

void frmHelp::cmdFind_Click() {
    const QString what = find_->text().trimmed();
    if (what.isEmpty()) return;
    found_->clear();
    if (browser_->find(what)) return;
    const QStringList& kinds = help::PageKinds();
    const qsizetype here = kinds.indexOf(currentKind());
    for (qsizetype i = 1; i <= kinds.size(); ++i) {
        const QString kind = kinds[(here + i) % kinds.size()];
        QTextDocument page;
        page.setHtml(help::PageHtml(kind));
        if (!page.toPlainText().contains(what, Qt::CaseInsensitive)) continue;
        open(kind, {});
        browser_->moveCursor(QTextCursor::Start);
        browser_->find(what);
        if (kind != kinds.value(here)) found_->setText(QStringLiteral("「%1」のページへ移りました").arg(help::ContentsTitle(kind)));
        return;
    }
    found_->setText(QStringLiteral("見つかりません"));
}

}  // namespace kv
