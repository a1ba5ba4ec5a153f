#include "MessageBox.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Answer = MessageBox::Answer;

TEST(MessageBoxLayer, HandlerRecordsEveryCallAndAnswersFromItsQueue) {
    ScopedMessageBoxHandler handler(Answer::No);
    handler.queueAnswer(Answer::Yes);
    EXPECT_EQ(Answer::Yes,
              MessageBox::show(nullptr, QStringLiteral("Czy przerwać?"), QStringLiteral("Tavro"),
                               MessageBox::Buttons::YesNo, MessageBox::Icon::Question));
    EXPECT_EQ(Answer::No, MessageBox::show(nullptr, QStringLiteral("Jeszcze raz?"),
                                           QStringLiteral("Tavro"), MessageBox::Buttons::YesNo));
    const auto calls = handler.calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(QStringLiteral("Czy przerwać?"), calls[0].text);
    EXPECT_EQ(QStringLiteral("Tavro"), calls[0].caption);
    EXPECT_EQ(MessageBox::Buttons::YesNo, calls[0].buttons);
    EXPECT_EQ(MessageBox::Icon::Question, calls[0].icon);
    EXPECT_EQ(QStringLiteral("Jeszcze raz?"), handler.lastText());
    handler.clear();
    EXPECT_TRUE(handler.calls().empty());
}

TEST(MessageBoxLayer, CallsFromAnotherThreadAreRecorded) {
    ScopedMessageBoxHandler handler(Answer::Cancel);
    Answer answer = Answer::Ok;
    std::thread worker([&] {
        answer =
            MessageBox::show(nullptr, QStringLiteral("z wątku"), {}, MessageBox::Buttons::OkCancel);
    });
    worker.join();
    EXPECT_EQ(Answer::Cancel, answer);
    EXPECT_EQ(QStringLiteral("z wątku"), handler.lastText());
}

TEST(MessageBoxLayer, PlainHandlerCanBeInstalledAndRemoved) {
    int seen = 0;
    MessageBox::setHandler([&](const MessageBox::Call& call) {
        seen += call.text.size();
        return Answer::Retry;
    });
    EXPECT_EQ(Answer::Retry, MessageBox::show(nullptr, QStringLiteral("abc")));
    MessageBox::setHandler({});
    EXPECT_EQ(3, seen);
    {
        ScopedMessageBoxHandler nested;
        MessageBox::show(nullptr, QStringLiteral("x"));
        EXPECT_EQ(1u, nested.calls().size());
    }
    EXPECT_EQ(3, seen);
}

}  // namespace
