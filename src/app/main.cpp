#include "app/app.h"
#include "app/command_line.h"

int main(int argc, char** argv) {
  Options options;
  const int32_t status = app_handle_options(argc, argv, &options);
  if (status >= 0) return status;
  return app_main(options);
}
