#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

// The one way every window asks the user something or tells him something. Normally a
// QMessageBox; a test installs a handler instead, which sees every call and gives the answer.
class MessageBox {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Call {
        QString text;
        QString caption;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
    };
    using Handler = std::function<Answer(const Call&)>;

    // Shows the box modally over parent (may be null) and returns the button pressed. Closing the
    // box without a button answers Cancel, or No for Yes/No, or Ok for a plain Ok box.
    static Answer show(QWidget* parent, const QString& text, const QString& caption = {},
                       Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

    // An empty handler restores the real message box. The handler may be called from any thread
    // that calls show().
    static void setHandler(Handler handler);
};

// For tests: while it lives, no box appears; every call is recorded and answered from the queue of
// answers, then with the default answer.
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBox::Answer defaultAnswer = MessageBox::Answer::Ok);
    ~ScopedMessageBoxHandler();
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

    void queueAnswer(MessageBox::Answer answer);
    std::vector<MessageBox::Call> calls() const;
    // Text of the last call, empty when there was none.
    QString lastText() const;
    void clear();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
