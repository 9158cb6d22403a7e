#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class QSizeGrip;

// A status bar made of sunken panels with left-aligned text; the last panel reaches to the
// bar's right end whatever its own width, and a size grip sits in the bottom-right corner.
class TStatusBar : public QWidget
{
    Q_OBJECT
    // One entry per panel: its width in pixels.
    Q_PROPERTY(QStringList panels READ PanelWidthTexts WRITE SetPanelWidthTexts)

public:
    explicit TStatusBar(QWidget *parent = nullptr);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    QString PanelText(int index) const;
    // Repaints the panel only when the text differs from what it holds.
    void SetPanelText(int index, const QString &text);
    // Where the panel lies in the bar, the last one taking the rest of the width.
    QRect PanelRect(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Panel
    {
        int width = 50;
        QString text;
    };
    QStringList PanelWidthTexts() const;
    void SetPanelWidthTexts(const QStringList &widths);

    std::vector<Panel> panels_;
    QSizeGrip *grip_;
};
