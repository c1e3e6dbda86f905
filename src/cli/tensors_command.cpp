#include "cli/commands.h"
#include "cli/options.h"
#include "cli/table_pipeline.h"

namespace cli {
namespace {

class TensorJob : public TableJob {
 public:
  explicit TensorJob(stress::Azimuth azimuth) : azimuth_(azimuth) {}
  bool Header(const std::vector<std::string_view>& fields, std::string& error,
              std::string& out) override {
    columns_ = ReadHeader(fields, error);
    if (!columns_.has_value())
      return false;
    out = OutputHeader(*columns_);
    return true;
  }
  bool Row(bool split, const std::vector<std::string_view>& fields, RowPlace place,
           std::string& out) const override {
    return AppendResultRow(*columns_, split, fields, place, azimuth_, out);
  }

 private:
  stress::Azimuth azimuth_;
  std::optional<TensorColumns> columns_;
};

}  // namespace

int RunTensors(const Options& options) {
  TensorJob job(options.azimuth);
  return RunTable(options.file, options.threads, job);
}

}  // namespace cli
