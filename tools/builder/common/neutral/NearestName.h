// Names an author most likely meant: a key or section name written with a
// letter too many, too few, wrong or two letters swapped is matched with the
// known name it comes closest to, so that a message can say "did you mean".
// Case never counts, as names match without case everywhere they are read.
#pragma once
#include <string>
#include <vector>

// The number of single-letter edits (insert, remove, replace, or swap two
// neighbours) that turn `a` into `b`, without regard to case.
int NameDistance(const std::string& a, const std::string& b);

// The known name closest to `name` within two edits (and fewer edits than
// `name` has letters, so that a short name is not matched with anything);
// empty when none is. A name equal to a known one without regard to case is
// its own nearest. Of equally close names the first in `known` wins.
std::string NearestName(const std::string& name, const std::vector<std::string>& known);

// " (did you mean NAME?)" for the nearest known name; empty when none.
std::string DidYouMean(const std::string& name, const std::vector<std::string>& known);
