# Sanitizer settings of make test-asan, sourced before the tests run (the
# test discovery runs under them too). Every report ends the program with a
# failure: UndefinedBehaviorSanitizer is built without recovery, and
# AddressSanitizer, LeakSanitizer included, stops at its first report.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
