#pragma once

namespace quoinry::db {

class Connection;

// Creates the tables that are missing, in one transaction; a new station table is filled with
// the built-in stations, a new profile table with the sample profile library. True when it
// created a table.
bool EnsureSchema(const Connection& connection);

// Drops both tables and creates them again: the built-in stations and sample profiles.
void RebuildSchema(const Connection& connection);

}  // namespace quoinry::db
