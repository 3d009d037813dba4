// The small window beside a demonstration window that shows its learning curve, for a
// window with no room of its own for one. The owner's button cmdCurve opens it; it stands
// beside its owner and moves with it, and closes when the owner closes. It is not a window
// kind: it belongs to its owner and lives as long as the owner, so that the curve gathers
// its points while it is closed too.
#pragma once

#include <QPoint>

#include "kit/curve_view.h"
#include "kit/form.h"

class QPushButton;

namespace kv {

class CurveWindow : public FormWindow {
    Q_OBJECT
public:
    // The companion of `owner`, named "frmCurve" and the owner's name, opened by `button`.
    CurveWindow(FormWindow* owner, QPushButton* button, CurveSetup setup);

    CurveView* view() const { return view_; }

public slots:
    // Shows the window (beside the owner the first time) and brings it forward.
    void open();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBesideOwner();

    FormWindow* owner_;
    CurveView* view_;
    QPoint ownerAt_;
    bool placed_ = false;
};

}  // namespace kv
