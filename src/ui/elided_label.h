#pragma once

#include <QLabel>

namespace brumo {

// A one-line label whose text, when it does not fit, loses its start rather than its end (a
// path's end names what it leads to), or its end where told; the whole text is then its
// tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideLeft);

    void SetFullText(const QString& text);
    const QString& FullText() const { return full_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString full_;
    Qt::TextElideMode mode_;
};

} // namespace brumo
