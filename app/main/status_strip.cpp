#include "main/status_strip.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

namespace {

// A shortcut that presses `button` when it is enabled. QShortcut fires
// whatever the button's state, so the check is made here; an edit box that
// has the focus keeps Ctrl+Z for its own typing, as everywhere else.
void addShortcut(QWidget* strip, QPushButton* button, const QKeySequence& keys)
{
    auto* shortcut = new QShortcut(keys, strip);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled())
            button->click();
    });
}

} // namespace

StatusStrip::StatusStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusStrip"));
    status_ = new QLabel(QStringLiteral("No database loaded"), this);
    status_->setObjectName(QStringLiteral("lbl_status"));
    // A note of what a load or save found (a journal removed, no file
    // locks) follows the status and needs a second line.
    status_->setWordWrap(true);
    undo_ = new QPushButton(QStringLiteral("Undo"), this);
    undo_->setObjectName(QStringLiteral("btn_undo"));
    redo_ = new QPushButton(QStringLiteral("Redo"), this);
    redo_->setObjectName(QStringLiteral("btn_redo"));
    changes_ = new QPushButton(QStringLiteral("Changes..."), this);
    changes_->setObjectName(QStringLiteral("btn_changes"));
    for (auto* button : {undo_, redo_, changes_})
        button->setFocusPolicy(Qt::TabFocus); // clicking one leaves the focus in the form
    undo_->setEnabled(false);
    redo_->setEnabled(false);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 12, 4);
    row->addWidget(status_, 1);
    row->addWidget(undo_);
    row->addWidget(redo_);
    row->addSpacing(12);
    row->addWidget(changes_);

    // Anywhere in the window the strip belongs to.
    addShortcut(this, undo_, QKeySequence(Qt::CTRL | Qt::Key_Z));
    addShortcut(this, redo_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    addShortcut(this, redo_, QKeySequence(Qt::CTRL | Qt::Key_Y));

    connect(undo_, &QPushButton::clicked, this, &StatusStrip::undoRequested);
    connect(redo_, &QPushButton::clicked, this, &StatusStrip::redoRequested);
    connect(changes_, &QPushButton::clicked, this, &StatusStrip::changesRequested);
}

void StatusStrip::showState(const QString& status, const QString& undoStep, const QString& redoStep)
{
    status_->setText(status);
    undo_->setEnabled(!undoStep.isEmpty());
    undo_->setToolTip(undoStep.isEmpty() ? QString() : QStringLiteral("Undo ") + undoStep);
    redo_->setEnabled(!redoStep.isEmpty());
    redo_->setToolTip(redoStep.isEmpty() ? QString() : QStringLiteral("Redo ") + redoStep);
}
