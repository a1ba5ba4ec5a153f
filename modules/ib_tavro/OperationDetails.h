// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ScrapedOperation.h"

// Top-up operators recognised by the counterparty name of an outgoing transfer.
inline constexpr const char* kTopUpOperators[] = {"BLUE MEDIA", "DOLADOWANIA.PL"};

// Reads a details page (tabs and line ends already removed) and classifies the operation.
// False when the page holds none of the details labels: it is not a details page.
bool ReadOperationDetails(std::string page, ScrapedOperation& operation, const std::string& sign);

// Sets kind, direction and label from the bank's kind text; the first matching rule decides.
void ClassifyOperation(ScrapedOperation& operation);
