#pragma once
// A panel: a plain rectangle in its own colour with an optional outer and
// inner bevel (raised or lowered), a border between them, and an optional
// caption drawn inside. Forms put their content on panels.

#include <QColor>
#include <QString>
#include <QWidget>

namespace scr {

class BevelPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Lowered, Raised };

    explicit BevelPanel(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return color_; }
    void setBevelOuter(Bevel bevel);
    void setBevelInner(Bevel bevel);
    void setBevelWidth(int width);
    void setBorderWidth(int width);
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setCaptionAlignment(Qt::Alignment alignment);

    // The area inside the bevels and the border.
    QRect innerRect() const;

    // Colours of the bevel edges.
    static QColor HighlightColor();
    static QColor ShadowColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    Bevel outer_ = Bevel::None;
    Bevel inner_ = Bevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
    Qt::Alignment captionAlignment_ = Qt::AlignCenter;
};

} // namespace scr
