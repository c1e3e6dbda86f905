// The ids of a plane set, stored end to end, against a list of strings under
// the same random edits.

#include "engine/plane_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace engine {
namespace {

TEST(IdList, EditsAsAListOfStrings) {
  std::mt19937 random(25);
  IdList ids;
  std::vector<std::string> model;
  const auto name = [&random] {
    std::string id(std::uniform_int_distribution<int>(0, 12)(random), 'a');
    for (char& c : id)
      c = static_cast<char>('a' + random() % 26);
    return id;
  };
  for (int step = 0; step < 2000; ++step) {
    SCOPED_TRACE(step);
    const int op = static_cast<int>(random() % 4);
    const std::size_t at = model.empty() ? 0 : random() % (model.size() + 1);
    if (op == 0 || model.empty()) {
      ids.push_back(model.emplace_back(name()));
    } else if (op == 1) {
      IdList added;
      std::vector<std::string> names;
      for (int k = static_cast<int>(random() % 4); k > 0; --k) {
        names.push_back(name());
        added.push_back(names.back());
      }
      ids.Insert(at, added);
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), names.begin(), names.end());
    } else if (op == 2) {
      const std::size_t first = random() % model.size();
      const std::size_t last = first + random() % (model.size() - first + 1);
      ids.Erase(first, last);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(first),
                  model.begin() + static_cast<std::ptrdiff_t>(last));
    } else {
      const std::size_t i = random() % model.size();
      model[i] = name();
      ids.Set(i, model[i]);
    }
    ASSERT_EQ(ids.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i)
      ASSERT_EQ(ids[i], model[i]) << i;
  }
}

}  // namespace
}  // namespace engine
