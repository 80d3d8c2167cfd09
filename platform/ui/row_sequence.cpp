#include "platform/ui/row_sequence.h"

#include <bit>
#include <cassert>

namespace ui {

RowSequence::Location RowSequence::Locate(std::size_t position) const {
  if (position == size_) {
    if (blocks_.empty()) return {0, 0};
    return {blocks_.size() - 1, blocks_.back().size()};
  }
  for (const RecentBlock& recent : recent_) {
    if (position - recent.start < recent.size) return {recent.block, position - recent.start};
  }
  // Fenwick descent: the largest prefix of whole blocks whose total is <= position.
  std::size_t block = 0;
  std::size_t remaining = position;
  std::size_t n = fenwick_.size() - 1;
  for (std::size_t step = std::bit_floor(n); step > 0; step >>= 1) {
    std::size_t next = block + step;
    if (next <= n && fenwick_[next] <= remaining) {
      block = next;
      remaining -= fenwick_[next];
    }
  }
  recent_[nextRecent_] = {block, position - remaining, blocks_[block].size()};
  nextRecent_ ^= 1;
  return {block, remaining};
}

void RowSequence::AddToBlockSize(std::size_t block, std::ptrdiff_t delta) {
  for (std::size_t i = block + 1; i < fenwick_.size(); i += i & (~i + 1)) {
    fenwick_[i] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(fenwick_[i]) + delta);
  }
}

void RowSequence::RebuildIndex() {
  fenwick_.assign(blocks_.size() + 1, 0);
  for (std::size_t i = 1; i < fenwick_.size(); ++i) {
    fenwick_[i] += blocks_[i - 1].size();
    std::size_t parent = i + (i & (~i + 1));
    if (parent < fenwick_.size()) fenwick_[parent] += fenwick_[i];
  }
}

void RowSequence::Insert(std::size_t position, Id id) {
  assert(position <= size_);
  if (blocks_.empty()) {
    blocks_.emplace_back().reserve(kMaxBlock);
    RebuildIndex();
  }
  Location at = Locate(position);
  ForgetRecent();
  std::vector<Id>& block = blocks_[at.block];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(at.offset), id);
  ++size_;
  if (block.size() <= kMaxBlock) {
    AddToBlockSize(at.block, 1);
    return;
  }
  // Split the full block in halves; the block index changes, so rebuild it (once per
  // kMaxBlock / 2 insertions into a block, O(blocks) each time).
  std::vector<Id> upper(block.begin() + kMaxBlock / 2, block.end());
  block.resize(kMaxBlock / 2);
  upper.reserve(kMaxBlock + 1);
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(at.block) + 1, std::move(upper));
  RebuildIndex();
}

RowSequence::Id RowSequence::Erase(std::size_t position) {
  assert(position < size_);
  Location at = Locate(position);
  ForgetRecent();
  std::vector<Id>& block = blocks_[at.block];
  Id id = block[at.offset];
  block.erase(block.begin() + static_cast<std::ptrdiff_t>(at.offset));
  --size_;
  if (!block.empty()) {
    AddToBlockSize(at.block, -1);
    return id;
  }
  blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(at.block));
  RebuildIndex();
  return id;
}

RowSequence::Id RowSequence::At(std::size_t position) const {
  assert(position < size_);
  Location at = Locate(position);
  return blocks_[at.block][at.offset];
}

void RowSequence::Set(std::size_t position, Id id) {
  assert(position < size_);
  Location at = Locate(position);
  blocks_[at.block][at.offset] = id;
}

void RowSequence::Swap(std::size_t a, std::size_t b) {
  Location la = Locate(a);
  Location lb = Locate(b);
  std::swap(blocks_[la.block][la.offset], blocks_[lb.block][lb.offset]);
}

void RowSequence::Clear() {
  blocks_.clear();
  fenwick_.clear();
  size_ = 0;
  ForgetRecent();
}

}  // namespace ui
