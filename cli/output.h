// The printed result of a command in the format --format chooses: the
// command's own text, one JSON object, or CSV.
#pragma once

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "args.h"
#include "core/clock.h"

namespace kvcli {

// A write to standard output that failed: a full disk, a pipe whose reader
// has gone (SIGPIPE ignored), a closed descriptor.
struct OutputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// From now on std::cout goes through a buffer of ours to descriptor 1, and
// the first write that fails raises OutputError, which ends the command.
// Closed descriptors 0 to 2 are held by /dev/null first, so no file the
// command opens takes their place; output to a closed 1 still fails.
void CheckStandardOutput();
// Writes what is left and closes descriptor 1; OutputError when it cannot.
void FinishStandardOutput();
// Before a message on stderr after a failure: what the command printed goes
// out first if it can, and nothing about the output throws any more.
void SettleStandardOutput();

enum class Format { Text, Json, Csv };

// --format text|json|csv; text without it.
Format ReadFormat(const Context& ctx);

// Keys in the order they were put in.
using Json = nlohmann::ordered_json;

// "2008-01-09T12:01:00+03:00": the moment to the nearest second, by the
// clock, in the proleptic Gregorian calendar of ISO 8601 (also before
// 15.10.1582, where the program's texts give Julian dates).
std::string IsoMoment(double x, const kv::LocalClock& clock);
// "09.01.2008 09:00:59" by the clock's digits as the lists show them, with
// the offset for a zone: "09.01.2008 09:54:00 +03:00".
std::string ClockMoment(double x, const kv::LocalClock& clock);

// The records of a result: their field names once, the values of each.
struct Records {
  std::vector<const char*> names;
  std::vector<std::vector<Json>> rows = {};
  void Add(std::vector<Json> values) { rows.push_back(std::move(values)); }
};

// JSON: the inputs with the records under key as a list of objects, or
// without a key the fields of the one record after the inputs. CSV: a
// header line with the names, then a line per record, quoted as RFC 4180
// has it.
void PrintResult(Format format, Json inputs, const char* key, const Records& records);

}  // namespace kvcli
