#include "projection/equal_area.h"

namespace projection {

double EqualAreaRadius(double) { return 0.0; }
void AddPrimitiveCircle(PointSeries&) {}
void PlotPlane(PointSeries&, PointSeries&, Colour, double, double, std::string_view) {}
void TracePlane(PointSeries&, PointSeries&, Colour, double, double, double, double, double, double,
                std::string_view) {}

}  // namespace projection
