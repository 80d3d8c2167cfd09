#pragma once
// An ordered sequence of row ids addressed by position, for list views of a million rows:
// reading a position costs O(log n), inserting or erasing at any position O(log n) plus a move
// of at most one block. Ids live in blocks of bounded size; a Fenwick tree over the block sizes
// finds the block that holds a position.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

class RowSequence {
 public:
  using Id = std::uint32_t;

  std::size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }

  // position <= Size().
  void Insert(std::size_t position, Id id);
  // position < Size(); returns the id that was there.
  Id Erase(std::size_t position);
  // position < Size().
  Id At(std::size_t position) const;
  void Set(std::size_t position, Id id);
  void Swap(std::size_t a, std::size_t b);
  void Clear();

 private:
  static constexpr std::size_t kMaxBlock = 512;

  struct Location {
    std::size_t block;
    std::size_t offset;
  };
  // The block holding position (position < size_), or for position == size_ the end of the
  // last block.
  Location Locate(std::size_t position) const;
  void AddToBlockSize(std::size_t block, std::ptrdiff_t delta);
  void RebuildIndex();
  void ForgetRecent() { recent_[0].size = recent_[1].size = 0; }

  // The two blocks found last (a sort walks two positions towards each other), valid until the
  // next insertion or erasure.
  struct RecentBlock {
    std::size_t block = 0;
    std::size_t start = 0;
    std::size_t size = 0;
  };
  mutable RecentBlock recent_[2];
  mutable unsigned nextRecent_ = 0;

  std::vector<std::vector<Id>> blocks_;
  std::vector<std::size_t> fenwick_;  // 1-based sums of block sizes
  std::size_t size_ = 0;
};

}  // namespace ui
