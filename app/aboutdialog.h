#pragma once
#include <QDialog>

// The about box: the program's name and version and where to find help.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};
