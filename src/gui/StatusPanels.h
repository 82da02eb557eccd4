#pragma once

#include <array>

#include <QString>
#include <QWidget>

// The status bar's nine panels, painted side by side in one strip: captions
// plain, values sunken. A window too narrow for all of them cuts the row off
// at the right rather than squeezing panels over each other.
class TStatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr int Count = 9;
    explicit TStatusPanels(QWidget* parent = nullptr);
    void SetText(int index, const QString& text);
    QString Text(int index) const { return texts_[std::size_t(index)]; }
    // Left edge and width of a panel.
    QRect PanelRect(int index) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int PanelWidth(int index) const;
    std::array<QString, Count> texts_;
};
