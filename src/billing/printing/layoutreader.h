#pragma once

// Reading a ticket layout document: a JSON array of rows, each row an array of
// cell objects. Builders end every row with a comma, so a comma directly before
// a closing bracket is accepted and adds nothing.

#include <QString>

#include <cstdint>

#include <rapidjson/document.h>

// False when `cont` does not parse or is not an array of arrays of objects.
bool ParseLayout(const QString& cont, rapidjson::Document& doc);

// The value of `key` as a 32-bit integer: integers as they are, floats rounded,
// true as 1, a string holding a decimal whole number as that number, anything
// else as 0; `def` when the key is absent or null.
int32_t GetSafeInteger(const rapidjson::Value& obj, const char* key, int32_t def);

// The value of `key` as text: strings as they are, other values in their JSON
// text form; `def` when the key is absent or null.
QString GetSafeString(const rapidjson::Value& obj, const char* key, const QString& def);
