#pragma once
// The strip below the main window's two page controls: the status line
// `lbl_status`, "Undo", "Redo" and "Changes...". It only shows what the main
// window tells it and reports the clicks; the history lives in the editor.

#include <QWidget>

class QLabel;
class QPushButton;

class StatusStrip : public QWidget {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget* parent = nullptr);

    // The status text, and the names of the steps Undo and Redo would take
    // (empty: nothing to undo or redo, the button is disabled).
    void showState(const QString& status, const QString& undoStep, const QString& redoStep);

    QLabel* statusLabel() const { return status_; }
    QPushButton* undoButton() const { return undo_; }
    QPushButton* redoButton() const { return redo_; }
    QPushButton* changesButton() const { return changes_; }

signals:
    void undoRequested();
    void redoRequested();
    void changesRequested();

private:
    QLabel* status_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    QPushButton* changes_ = nullptr;
};
