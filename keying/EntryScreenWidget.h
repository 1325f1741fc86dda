#pragma once

#include <QTimer>
#include <QWidget>

class ScreenModel;

// Paints the core's ScreenModel (fills, glyphs and caret) and reports focus and clicks; the
// main window turns those into engine calls.
class EntryScreenWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CaretBlinkMs = 530;

    explicit EntryScreenWidget(ScreenModel& model, QWidget* parent = nullptr);

    // Repaints what the model changed since the last call, with the caret shown solid.
    void flushDirty();

signals:
    void focusGained();
    void focusLost();
    void clicked();
    void resized(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintPixels(QPainter& painter, const QRect& rect) const;
    void paintGlyphs(QPainter& painter, const QRect& rect) const;
    void paintCaret(QPainter& painter) const;
    QRect caretRect() const;
    void blink();

    ScreenModel& m_model;
    QFont m_font;
    QTimer m_blinkTimer;
    bool m_caretPhaseOn = true;
};
