// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStatusBar>

// A status bar whose message wraps onto as many lines as it needs and grows the dialog to show
// them: the write's note of the VFO rows it moved names up to six rows, far more than one line
// of a fixed-size dialog holds. The message stays the status bar's own (showMessage,
// currentMessage), so everything that reads the status line reads the whole text.
class WrappingStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit WrappingStatusBar(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect textArea(int width) const;
    int heightFor(int width) const;
};
