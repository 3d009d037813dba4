#include "kit/tab_chain.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "kit/controls.h"

namespace kv {
namespace {

// A block of the page: a control, a frame, a table or the diagram, with its stops in order.
struct Block {
    QRect rect;  // in the coordinates of the area being ordered
    QWidgetList stops;
};
using Blocks = std::vector<Block>;

bool TakesTab(const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus; }

QRect RectIn(const QWidget* w, const QWidget* area) { return QRect(w->mapTo(area, QPoint(0, 0)), w->size()); }

// Cuts the blocks into bands across `rows` (or columns down) where no block spans the gap.
std::vector<Blocks> Cut(Blocks blocks, bool rows) {
    const auto start = [rows](const Block& b) { return rows ? b.rect.top() : b.rect.left(); };
    const auto end = [rows](const Block& b) { return rows ? b.rect.bottom() : b.rect.right(); };
    std::stable_sort(blocks.begin(), blocks.end(), [&](const Block& a, const Block& b) { return start(a) < start(b); });
    std::vector<Blocks> bands;
    int reach = INT_MIN;
    for (Block& b : blocks) {
        if (bands.empty() || start(b) > reach) bands.emplace_back();
        reach = std::max(reach, end(b));
        bands.back().push_back(std::move(b));
    }
    return bands;
}

// Page order: rows from the top, and within a row columns from the left, again and again.
void Read(Blocks blocks, QWidgetList& order) {
    if (blocks.size() > 1) {
        for (bool rows : {true, false}) {
            std::vector<Blocks> bands = Cut(blocks, rows);
            if (bands.size() < 2) continue;
            for (Blocks& band : bands) Read(std::move(band), order);
            return;
        }
        // Blocks that overlap both ways: by their top-left corners.
        std::stable_sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
            return std::pair(a.rect.top(), a.rect.left()) < std::pair(b.rect.top(), b.rect.left());
        });
    }
    for (const Block& b : blocks) order += b.stops;
}

struct Page {
    QWidgetList flow;                // the diagram's stops, in order
    QWidget* diagramHome = nullptr;  // the innermost widget holding all of them
    QSet<const QWidget*> cells;      // of the tables
    QList<TableStop*> tables;
    QWidgetList last;  // read after the page
};

Blocks BlocksOf(QWidget* container, const Page& page);

QWidgetList Stops(QWidget* container, const Page& page) {
    QWidgetList order;
    Read(BlocksOf(container, page), order);
    return order;
}

// The diagram: its stops in their order, as large as the pictures and labels it lies on.
void AddDiagram(QWidget* container, const Page& page, Blocks& blocks) {
    Block diagram;
    for (QWidget* w : page.flow) diagram.rect |= RectIn(w, container);
    diagram.stops = page.flow;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto b = blocks.begin(); b != blocks.end(); ++b)
            if (b->stops.isEmpty() && b->rect.intersects(diagram.rect)) {
                diagram.rect |= b->rect;
                blocks.erase(b);
                grew = true;
                break;
            }
    }
    blocks.push_back(std::move(diagram));
}

// The blocks of one container: its controls, its frames and tables (their stops read inside
// them first), the diagram if it lies here, and what else is drawn there.
Blocks BlocksOf(QWidget* container, const Page& page) {
    Blocks blocks;
    for (TableStop* t : page.tables) {
        if (t->rows().front().front()->parentWidget() != container) continue;
        Block table;
        for (const auto& row : t->rows())
            for (QLineEdit* box : row) {
                table.rect |= box->geometry();
                table.stops << box;
            }
        blocks.push_back(std::move(table));
    }
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || page.flow.contains(w) || page.cells.contains(w) || page.last.contains(w)) continue;
        if (!TakesTab(w) && !qobject_cast<QGroupBox*>(w) && !w->findChildren<QWidget*>().isEmpty()) {
            // A plain holder of controls (the window's content) is no group: its blocks
            // stand on the page beside whatever the window adds around it.
            for (Block& b : BlocksOf(w, page)) {
                b.rect.translate(w->pos());
                blocks.push_back(std::move(b));
            }
            continue;
        }
        QWidgetList inside = Stops(w, page);
        if (TakesTab(w)) inside.prepend(w);
        if (!inside.isEmpty()) {
            blocks.push_back({w->geometry(), inside});
        } else if (!w->isHidden() && !qobject_cast<Decoration*>(w)) {
            // A label, a plot or a picture is part of the page too: no column is read
            // across it. Lines and outlines cross the page freely and are left out.
            blocks.push_back({w->geometry(), {}});
        }
    }
    if (container == page.diagramHome) AddDiagram(container, page, blocks);
    return blocks;
}

}  // namespace

void ArrangeTabChain(QWidget* area, const QStringList& flow, const QWidgetList& last) {
    // Controls that layouts place are read where their layouts will put them, outer ones first.
    if (QLayout* l = area->layout()) l->activate();
    for (QWidget* w : area->findChildren<QWidget*>())
        if (QLayout* l = w->layout()) l->activate();
    Page page;
    page.last = last;
    page.tables = area->findChildren<TableStop*>();
    for (TableStop* t : page.tables)
        for (const auto& row : t->rows())
            for (QLineEdit* box : row) page.cells.insert(box);
    for (const QString& name : flow) {
        QWidget* w = area->findChild<QWidget*>(name);
        if (!w || page.flow.contains(w)) continue;
        page.flow << w;
        if (!page.diagramHome) page.diagramHome = w->parentWidget();
        while (!page.diagramHome->isAncestorOf(w)) page.diagramHome = page.diagramHome->parentWidget();
    }
    QWidgetList order;
    Read(BlocksOf(area, page), order);
    order += last;
    for (int i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    // The chain is a ring, and Qt may start it anywhere: the window opens on its first stop.
    if (!order.isEmpty()) order.front()->setFocus(Qt::OtherFocusReason);
}

TableStop::TableStop(QObject* parent, std::vector<std::vector<QLineEdit*>> rows) : QObject(parent), rows_(std::move(rows)) {
    if (rows_.empty() || rows_.front().empty()) throw std::logic_error("a table needs a box");
    for (const auto& row : rows_) {
        if (row.size() != rows_.front().size()) throw std::logic_error("a table's rows are as long as its first");
        for (QLineEdit* box : row) {
            box->setFocusPolicy(Qt::ClickFocus);
            box->installEventFilter(this);
        }
    }
    MakeCurrent(0, 0);
}

QLineEdit* TableStop::current() const { return rows_[row_][column_]; }

void TableStop::MakeCurrent(int row, int column) {
    current()->setFocusPolicy(Qt::ClickFocus);
    row_ = row;
    column_ = column;
    current()->setFocusPolicy(Qt::StrongFocus);
}

bool TableStop::Find(const QObject* box, int& row, int& column) const {
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (std::size_t c = 0; c < rows_[r].size(); ++c)
            if (rows_[r][c] == box) {
                row = static_cast<int>(r);
                column = static_cast<int>(c);
                return true;
            }
    return false;
}

bool TableStop::eventFilter(QObject* watched, QEvent* event) {
    int row = 0, column = 0;
    if (event->type() == QEvent::FocusIn) {
        if (Find(watched, row, column)) MakeCurrent(row, column);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !Find(watched, row, column)) return false;
    auto* box = rows_[row][column];
    const bool whole = box->hasSelectedText() && box->selectedText() == box->text();
    const bool atStart = whole || (!box->hasSelectedText() && box->cursorPosition() == 0);
    const bool atEnd = whole || (!box->hasSelectedText() && box->cursorPosition() == box->text().size());
    const int rows = static_cast<int>(rows_.size()), columns = static_cast<int>(rows_.front().size());
    const auto go = [this](int r, int c) {
        MakeCurrent(r, c);
        current()->setFocus(Qt::OtherFocusReason);
        return current();
    };
    switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int to = row + (key->key() == Qt::Key_Up ? -1 : 1);
            if (to >= 0 && to < rows) go(to, column)->selectAll();
            return true;
        }
        case Qt::Key_Left:
            if (!atStart || column == 0) return false;
            go(row, column - 1)->setCursorPosition(rows_[row][column - 1]->text().size());
            return true;
        case Qt::Key_Right:
            if (!atEnd || column + 1 == columns) return false;
            go(row, column + 1)->setCursorPosition(0);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!onReturn_) return false;
            if (!key->isAutoRepeat()) onReturn_(row);  // a held key runs the row once
            return true;
        default:
            return false;
    }
}

}  // namespace kv
