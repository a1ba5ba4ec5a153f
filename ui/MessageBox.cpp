#include "MessageBox.h"

#include <QMessageBox>
#include <deque>
#include <mutex>

namespace {

std::mutex g_handlerMutex;
MessageBox::Handler g_handler;

QMessageBox::StandardButtons standardButtons(MessageBox::Buttons buttons) {
    switch (buttons) {
        case MessageBox::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageBox::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageBox::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageBox::Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case MessageBox::Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MessageBox::Icon icon) {
    switch (icon) {
        case MessageBox::Icon::Information:
            return QMessageBox::Information;
        case MessageBox::Icon::Warning:
            return QMessageBox::Warning;
        case MessageBox::Icon::Error:
            return QMessageBox::Critical;
        case MessageBox::Icon::Question:
            return QMessageBox::Question;
        case MessageBox::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageBox::Answer closedAnswer(MessageBox::Buttons buttons) {
    switch (buttons) {
        case MessageBox::Buttons::Ok:
            return MessageBox::Answer::Ok;
        case MessageBox::Buttons::YesNo:
            return MessageBox::Answer::No;
        default:
            return MessageBox::Answer::Cancel;
    }
}

MessageBox::Answer toAnswer(int button, MessageBox::Buttons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageBox::Answer::Ok;
        case QMessageBox::Yes:
            return MessageBox::Answer::Yes;
        case QMessageBox::No:
            return MessageBox::Answer::No;
        case QMessageBox::Retry:
            return MessageBox::Answer::Retry;
        case QMessageBox::Cancel:
            return MessageBox::Answer::Cancel;
        default:
            return closedAnswer(buttons);
    }
}

MessageBox::Answer showReal(QWidget* parent, const MessageBox::Call& call) {
    QMessageBox box(standardIcon(call.icon), call.caption, call.text, standardButtons(call.buttons),
                    parent);
    if (call.buttons == MessageBox::Buttons::Ok) {
        box.setEscapeButton(QMessageBox::Ok);
    } else if (call.buttons == MessageBox::Buttons::YesNo) {
        box.setEscapeButton(QMessageBox::No);
    }
    return toAnswer(box.exec(), call.buttons);
}

}  // namespace

MessageBox::Answer MessageBox::show(QWidget* parent, const QString& text, const QString& caption,
                                    Buttons buttons, Icon icon) {
    const Call call{text, caption, buttons, icon};
    Handler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    return handler ? handler(call) : showReal(parent, call);
}

void MessageBox::setHandler(Handler handler) {
    std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

struct ScopedMessageBoxHandler::State {
    mutable std::mutex mutex;
    MessageBox::Answer defaultAnswer;
    std::deque<MessageBox::Answer> answers;
    std::vector<MessageBox::Call> calls;
};

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBox::Answer defaultAnswer)
    : m_state(std::make_shared<State>()) {
    m_state->defaultAnswer = defaultAnswer;
    MessageBox::setHandler([state = m_state](const MessageBox::Call& call) {
        std::lock_guard lock(state->mutex);
        state->calls.push_back(call);
        if (state->answers.empty()) {
            return state->defaultAnswer;
        }
        const MessageBox::Answer answer = state->answers.front();
        state->answers.pop_front();
        return answer;
    });
}

ScopedMessageBoxHandler::~ScopedMessageBoxHandler() {
    MessageBox::setHandler({});
}

void ScopedMessageBoxHandler::queueAnswer(MessageBox::Answer answer) {
    std::lock_guard lock(m_state->mutex);
    m_state->answers.push_back(answer);
}

std::vector<MessageBox::Call> ScopedMessageBoxHandler::calls() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->calls;
}

QString ScopedMessageBoxHandler::lastText() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->calls.empty() ? QString() : m_state->calls.back().text;
}

void ScopedMessageBoxHandler::clear() {
    std::lock_guard lock(m_state->mutex);
    m_state->calls.clear();
    m_state->answers.clear();
}
