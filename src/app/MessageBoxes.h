#pragma once

#include <QString>

class QWidget;

// The four kinds of message box and the box for unhandled errors. The window
// is given one of these; tests pass a recorder.
class TMessageBoxes
{
public:
    virtual ~TMessageBoxes() = default;
    virtual void Error(const QString& text) = 0;
    virtual void Information(const QString& text) = 0;
    // True only when the user pressed OK.
    virtual bool Confirm(const QString& text) = 0;
    virtual void Plain(const QString& text) = 0;
    // Shows the message of an error no operation caught (with the full-stop rule applied).
    virtual void UnhandledError(const QString& message) = 0;
};

// The text of the box for unhandled errors: a "." is appended when the last
// character's code is above that of ".".
QString UnhandledErrorText(const QString& message);

// The real boxes, modal over the given window.
class TQtMessageBoxes : public TMessageBoxes
{
public:
    explicit TQtMessageBoxes(QWidget* parent = nullptr) : FParent(parent) {}
    void SetParent(QWidget* parent) { FParent = parent; }
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool Confirm(const QString& text) override;
    void Plain(const QString& text) override;
    void UnhandledError(const QString& message) override;

private:
    QWidget* FParent;
};
