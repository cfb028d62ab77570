// WordList: an ordered, growable list of 8-bit words in insertion order.
#ifndef VREL_ENGINE_WORD_LIST_H_
#define VREL_ENGINE_WORD_LIST_H_

#include <string>
#include <vector>

using WordList = std::vector<std::string>;

#endif  // VREL_ENGINE_WORD_LIST_H_
