#pragma once

#include <utility>

#include <QKeySequence>
#include <QList>
#include <QTimer>
#include <QWidget>

#include "app/KeyTranslation.h"

class ScreenModel;

// Paints the core's ScreenModel (fills, glyphs and caret) and reports keys, focus and clicks;
// the main window turns those into engine calls.
class EntryScreenWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CaretBlinkMs = 530;

    explicit EntryScreenWidget(ScreenModel& model, QWidget* parent = nullptr);

    // Repaints what the model changed since the last call, with the caret shown solid.
    void flushDirty();
    const ScreenModel& model() const { return m_model; }
    const QFont& cellFont() const { return m_font; }

    // Key combinations the window's menus keep (their shortcuts); every other key, Alt+letter
    // mnemonics aside, goes to the engine even when a shortcut would match it.
    void setMenuKeys(QList<QKeySequence> keys) { m_menuKeys = std::move(keys); }

signals:
    void keyPressed(const KeyStroke& key);
    void focusGained();
    void focusLost();
    void clicked();
    void resized(QSize size);

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool leftToMenus(const QKeyEvent& event) const;
    // The font's size follows the model's character cell.
    void followCellSize();
    void paintPixels(QPainter& painter, const QRect& rect) const;
    void paintGlyphs(QPainter& painter, const QRect& rect) const;
    void paintCaret(QPainter& painter) const;
    QRect caretRect() const;
    void blink();

    ScreenModel& m_model;
    QFont m_font;
    int m_fontCellWidth = 0;
    QTimer m_blinkTimer;
    bool m_caretPhaseOn = true;
    QList<QKeySequence> m_menuKeys;
};
