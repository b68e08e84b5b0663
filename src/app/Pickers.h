#pragma once

#include <QDateTimeEdit>

// A date or time picker that can show nothing. A QDateTimeEdit refuses a
// display format without date or time sections, so the blank look is drawn
// by the text conversion instead.
class TPicker : public QDateTimeEdit
{
    Q_OBJECT
public:
    enum class TKind
    {
        Date,
        Time
    };
    TPicker(TKind kind, QWidget* parent = nullptr);

    // Blank: shows " " and keeps its value hidden until shown again with Show(format).
    void SetBlank();
    void ShowWithFormat(const QString& format);
    bool IsBlank() const { return FBlank; }

protected:
    QString textFromDateTime(const QDateTime& dateTime) const override;

private:
    bool FBlank = true;
};
