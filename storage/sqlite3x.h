// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SQL access layer: every database access of Tavro goes through these classes.

#include "sqlite3x/backup.h"
#include "sqlite3x/command.h"
#include "sqlite3x/connection.h"
#include "sqlite3x/database_error.h"
#include "sqlite3x/reader.h"
#include "sqlite3x/transaction.h"
