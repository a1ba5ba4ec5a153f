// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ModuleInterface.h"
#include "ScrapedOperation.h"

// Reads "-1234,56"-style text: optional sign, digits, a comma and digits; the rest is ignored.
double ReadAmount(const std::string& text);

// The operation number: leading digits after optional blanks, 0 when there are none.
int32_t ReadOperationNumber(const std::string& text);

// Cleans one operation up just before delivery.
void NormaliseOperation(ScrapedOperation& operation);

// The text written instead of the diagnostic message box (option bit 4).
std::string DiagnosticText(const ScrapedOperation& operation);

// Hands an account's operations to the host, oldest first.
void DeliverOperations(std::vector<ScrapedOperation>& operations, HistoryQuery& query);
