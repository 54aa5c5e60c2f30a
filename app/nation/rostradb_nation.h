#pragma once
// The nation window: laid out for editing one nation, created hidden at
// start-up and never shown; its actions do nothing yet.

#include <QWidget>

class Tfrm_nation : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_nation(QWidget* parent = nullptr);
};
