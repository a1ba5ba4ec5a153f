// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets found, kept as plain tests so the normal build catches a relapse.
#include <gtest/gtest.h>

#include "OperationDelivery.h"
#include "ScrapedOperation.h"

namespace {

// A name with markup is dropped and the kind text stands in for a missing title; the stand-in
// must keep the record's limit of 139 characters too.
TEST(FuzzFindings, KindTextInPlaceOfTheTitleIsCutTo139) {
    ScrapedOperation op;
    op.direction = 1;
    op.amount = "12,50";
    op.name = "<b>Sklep</b>";
    op.title = "";
    op.kindText = std::string(400, 'K');
    NormaliseOperation(op);
    EXPECT_TRUE(op.name.empty());
    EXPECT_EQ(op.title, std::string(139, 'K'));
}

}  // namespace
