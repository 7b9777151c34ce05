#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>

#include "profile/geometry.h"

namespace quoinry::profile {

// Up to two points, kept in place: two lines or circles meet at two points at most.
class ContactPoints {
  public:
    ContactPoints() = default;
    ContactPoints(std::initializer_list<Point> points) {
        for (Point p : points) push_back(p);
    }

    void push_back(Point p) { points_.at(count_++) = p; }
    bool empty() const { return count_ == 0; }
    size_t size() const { return count_; }
    const Point& operator[](size_t i) const { return points_.at(i); }
    const Point* begin() const { return points_.data(); }
    const Point* end() const { return points_.data() + count_; }

  private:
    std::array<Point, 2> points_{};
    size_t count_ = 0;
};

struct EdgeContact {
    ContactPoints points;  // where the edges meet or cross
    bool overlap = false;  // they share a stretch (collinear lines, arcs of one circle)
};

// Where two edges meet, within `tolerance` (mm).
EdgeContact FindContact(const Edge& a, const Edge& b, double tolerance);
// The same with the frames of arcs given (ignored for other edges).
EdgeContact FindContact(const Edge& a, const ArcFrame* fa, const Edge& b, const ArcFrame* fb,
                        double tolerance);

}  // namespace quoinry::profile
