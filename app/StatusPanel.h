#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>

// One sunken panel of the main window's status bar, showing a line of text or a picture.
// Unlike a QLabel it asks the status bar for a new layout only when the size it needs
// changes: the column panel changes on every key, and a layout repaints the whole bar.
class StatusPanel : public QFrame
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget* parent);

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    const QPixmap& pixmap() const { return m_pixmap; }
    void setPixmap(const QPixmap& pixmap);
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
    QSize neededSize() const;
    void contentChanged();

    QString m_text;
    QPixmap m_pixmap;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // What the layout was last told; a change of content that keeps it needs no layout.
    mutable QSize m_hinted;
};
