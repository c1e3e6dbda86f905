#pragma once
// A set of planes (faults, fractures) assessed together under one stress
// state. Angles in degrees, clockwise from North, as the joint's; stresses in
// the user's unit.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

/// One plane of a set. A NaN friction angle or cohesion is one the plane does
/// not give: the set's own (the joint's) is used.
struct Plane {
  double dipDirection = 0.0;                                   ///< [0, 360)
  double dip = 0.0;                                            ///< [0, 90]
  double phi = std::numeric_limits<double>::quiet_NaN();       ///< friction angle
  double cohesion = std::numeric_limits<double>::quiet_NaN();  ///< cohesion

  bool HasOwnPhi() const { return !std::isnan(phi); }
  bool HasOwnCohesion() const { return !std::isnan(cohesion); }
};

/// The ids of a set's planes (UTF-8; an empty id is none), stored end to end:
/// a million short ids cost little more than their characters. At most 4 GiB
/// of id text in all.
class IdList {
 public:
  std::size_t size() const { return offsets_.size() - 1; }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]);
  }
  void reserve(std::size_t count) { offsets_.reserve(count + 1); }
  void clear() {
    text_.clear();
    offsets_.assign(1, 0);
  }
  void push_back(std::string_view id) {
    text_ += id;
    offsets_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  /// Inserts every id of `other` before id `at` (at most size()).
  void Insert(std::size_t at, const IdList& other) {
    const std::uint32_t position = offsets_[at];
    const auto added = static_cast<std::uint32_t>(other.text_.size());
    text_.insert(position, other.text_);
    std::vector<std::uint32_t> offsets(offsets_.begin(), offsets_.begin() + at + 1);
    offsets.reserve(offsets_.size() + other.size());
    for (std::size_t k = 1; k < other.offsets_.size(); ++k)
      offsets.push_back(position + other.offsets_[k]);
    for (std::size_t k = at + 1; k < offsets_.size(); ++k)
      offsets.push_back(offsets_[k] + added);
    offsets_ = std::move(offsets);
  }
  /// Removes ids [first, last).
  void Erase(std::size_t first, std::size_t last) {
    const std::uint32_t from = offsets_[first];
    const std::uint32_t removed = offsets_[last] - from;
    text_.erase(from, removed);
    offsets_.erase(offsets_.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                   offsets_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    for (std::size_t k = first + 1; k < offsets_.size(); ++k)
      offsets_[k] -= removed;
  }
  /// The bytes the list keeps: its text and offsets.
  std::size_t Bytes() const {
    return text_.capacity() + offsets_.capacity() * sizeof(std::uint32_t);
  }
  /// Replaces id `i`.
  void Set(std::size_t i, std::string_view id) {
    IdList one;
    one.push_back(id);
    Erase(i, i + 1);
    Insert(i, one);
  }

 private:
  std::string text_;
  std::vector<std::uint32_t> offsets_{0};  ///< id i is text_[offsets_[i], offsets_[i + 1])
};

/// The planes with their ids, entry for entry.
struct PlaneSet {
  std::vector<Plane> planes;
  IdList ids;

  std::size_t size() const { return planes.size(); }
  bool empty() const { return planes.empty(); }
  void clear() {
    planes.clear();
    ids.clear();
  }
  void push_back(const Plane& plane, std::string_view id) {
    planes.push_back(plane);
    ids.push_back(id);
  }
  /// Appends every plane of `other`.
  void Append(const PlaneSet& other) {
    planes.insert(planes.end(), other.planes.begin(), other.planes.end());
    ids.Insert(ids.size(), other.ids);
  }
};

}  // namespace engine
