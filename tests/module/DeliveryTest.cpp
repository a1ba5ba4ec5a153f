// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "HtmlScanner.h"
#include "OperationDelivery.h"
#include "OperationDetails.h"

namespace {
struct Delivered {
    int64_t operationDate;
    int32_t tid;
    int32_t direction;
    int32_t kind;
    double amount;
    std::string amountText;
    std::string account;
    std::string name;
    std::string title;
};

std::vector<Delivered> gDelivered;
HostContext* gContext = nullptr;

int32_t collect(HostContext* context, const OperationRecord* record) {
    EXPECT_EQ(record->size, static_cast<int32_t>(sizeof(OperationRecord)));
    gContext = context;
    gDelivered.push_back({record->operationDate, record->tid, record->direction, record->kind,
                          record->amount, record->amountText, record->counterpartyAccount,
                          record->counterpartyName, record->title});
    return 0;
}

ScrapedOperation operation(const std::string& number, const std::string& amount, int direction) {
    ScrapedOperation op;
    op.number = number;
    op.operationDate = "05-03-2010";
    op.postingDate = " 06-03-2010 ";
    op.amount = amount;
    op.direction = direction;
    op.name = "JAN";
    op.title = "CZYNSZ";
    op.account = "12345678901234567890123456";
    op.kindText = "PRZELEW";
    return op;
}

class DeliveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "Europe/Warsaw", 1);
        tzset();
        gDelivered.clear();
        query.size = sizeof(HistoryQuery);
        query.onOperation = &collect;
    }
    HistoryQuery query{};
};

TEST_F(DeliveryTest, AmountWithThousandsSeparatorOnNegativeItem) {
    ScrapedOperation op = operation("1", "-1 234,56", 0);
    NormaliseOperation(op);
    EXPECT_EQ(op.amount, "-1234,56");
    EXPECT_EQ(ReadAmount(op.amount), -1234.56);

    ScrapedOperation hard = operation("2",
                                      "-12\xA0"
                                      "345&nbsp;678,9\"",
                                      0);
    NormaliseOperation(hard);
    EXPECT_EQ(hard.amount, "-12345678,90");
}

TEST_F(DeliveryTest, LargeAmountKeepsItsGrosze) {
    ScrapedOperation op = operation("1", "999 999,99", 1);
    std::vector<ScrapedOperation> list{op};
    DeliverOperations(list, query);
    ASSERT_EQ(gDelivered.size(), 1u);
    EXPECT_EQ(gDelivered[0].amount, 999999.99);
    EXPECT_EQ(gDelivered[0].amountText, "999999,99");
}

TEST_F(DeliveryTest, DirectionOutMakesThePositiveAmountNegative) {
    ScrapedOperation op = operation("1", "15,5", 0);
    NormaliseOperation(op);
    EXPECT_EQ(op.amount, "-15,50");
}

TEST_F(DeliveryTest, CancelledTransferOnNegativeItemIsDeliveredPositive) {
    ScrapedOperation op = operation("7", "-150,00", 0);
    op.kindText = "ANULOWANIE PRZELEWU";
    ClassifyOperation(op);
    std::vector<ScrapedOperation> list{op};
    DeliverOperations(list, query);
    ASSERT_EQ(gDelivered.size(), 1u);
    EXPECT_EQ(gDelivered[0].amount, 150.0);
    EXPECT_EQ(gDelivered[0].amountText, "150,00");
    EXPECT_EQ(gDelivered[0].direction, 1);
    EXPECT_EQ(gDelivered[0].kind, 16);
}

TEST_F(DeliveryTest, OldestFirstAndOnlyValidOperations) {
    std::vector<ScrapedOperation> list{operation("3", "1,00", 1), operation("2", "0,00", 1),
                                       operation("1", "-2,00", 0)};
    ScrapedOperation noDate = operation("9", "1,00", 1);
    noDate.postingDate = "6-3-2010";
    list.insert(list.begin(), noDate);
    DeliverOperations(list, query);
    ASSERT_EQ(gDelivered.size(), 2u);
    EXPECT_EQ(gDelivered[0].tid, 1);
    EXPECT_EQ(gDelivered[0].amount, -2.0);
    EXPECT_EQ(gDelivered[1].tid, 3);
    EXPECT_EQ(gContext, &query.context);
    EXPECT_EQ(gDelivered[1].operationDate, ParseDayDate("05-03-2010"));
}

TEST_F(DeliveryTest, NullCallbackDeliversNothing) {
    query.onOperation = nullptr;
    std::vector<ScrapedOperation> list{operation("1", "1,00", 1)};
    DeliverOperations(list, query);
    EXPECT_TRUE(gDelivered.empty());
}

TEST_F(DeliveryTest, TextsAreCutAndCleaned) {
    ScrapedOperation op = operation("1", "1,00", 1);
    op.title = std::string(200, 't');
    op.name = "<b>X</b>";
    op.account = std::string(28, '1');
    NormaliseOperation(op);
    EXPECT_EQ(op.title.size(), 139u);
    EXPECT_EQ(op.name, "");
    EXPECT_EQ(op.account, "");

    ScrapedOperation tagged = operation("1", "1,00", 1);
    tagged.title = "a<br>b";
    tagged.name = "\"Firma\" <x>";
    NormaliseOperation(tagged);
    EXPECT_EQ(tagged.name, "");
    EXPECT_EQ(tagged.title, "PRZELEW");
}

TEST_F(DeliveryTest, OperationNumbers) {
    EXPECT_EQ(ReadOperationNumber(" 123abc"), 123);
    EXPECT_EQ(ReadOperationNumber("x1"), 0);
    EXPECT_EQ(ReadOperationNumber(""), 0);
}

TEST_F(DeliveryTest, DiagnosticReport) {
    ScrapedOperation op = operation("255", "1,00", 1);
    NormaliseOperation(op);
    EXPECT_EQ(
        DiagnosticText(op),
        "ID: 0x000000FF\r\nAmount: 1,00\r\nAccount: 12345678901234567890123456\r\n"
        "Date_1: 05-03-2010\r\nDate_2: 06-03-2010\r\nDescr: CZYNSZ\r\nName: JAN\r\nLink: \r\n");
}
}  // namespace
