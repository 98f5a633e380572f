// An independent model of what the dialogue prints, for checking its output on any input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace intcalc {

// ModelPieces: the pieces ReadLine must deliver for `input`: each line with its line end as
// CR LF, cut into pieces of at most 121 bytes; a last line without a line end still ends.
std::vector<std::string> ModelPieces(std::string_view input);

// IsPossibleResult: whether a result text is one the calculator can show: "ERROR",
// "OVERFLOW", a decimal number in range, or a lone operand as typed (a blank left by a
// folded sign, a sign, digits), at most 20 characters. The evaluator's own fallback word
// never reaches a person, so it counts as impossible.
bool IsPossibleResult(std::string_view result);

// CheckDialogue: whether `output` is the dialogue for `input`: the intro and prompt texts
// in their places, each expression its piece up to the line end without blanks, each
// result a possible one, and each echo line made of both. Returns an empty string when it
// holds, else where and how it does not. When `results` is given, the result texts go
// there, in order.
std::string CheckDialogue(std::string_view input, std::string_view output,
                          std::vector<std::string>* results = nullptr);

// CheckTrace: whether `trace` is what tracing may write for a run that evaluated
// `expressions` expressions: lines of printable ASCII within 80 columns, each ending with
// LF, one "expression" line and one "result" line for each expression. Returns an empty
// string when it holds, else how it does not.
std::string CheckTrace(std::string_view trace, std::size_t expressions);

// ExpectedResults: what the results form must print for `input`, given the result texts
// the dialogue printed for it: for each line, nothing when the dialogue evaluated nothing
// in it, its one result, or ERROR when the dialogue took the line for more than one
// expression; each followed by `lineEnd`.
std::string ExpectedResults(std::string_view input, const std::vector<std::string>& results,
                            std::string_view lineEnd = "\n");

}  // namespace intcalc
