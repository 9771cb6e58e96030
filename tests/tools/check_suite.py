"""The tally of a test script's checks, printed as they are made: "ok - NAME", "not ok - NAME: DETAIL"
or "skip - NAME: REASON", and at the end how many passed and failed."""

import sys
import time
import traceback


class Suite:
    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.skipped = 0

    def check(self, name, condition, detail=""):
        if condition:
            self.passed += 1
            print(f"ok - {name}", flush=True)
        else:
            self.failed += 1
            print(f"not ok - {name}: {detail}", flush=True)

    def skip(self, name, reason):
        self.skipped += 1
        print(f"skip - {name}: {reason}", flush=True)

    def fail(self, name, error):
        """Counts an exception that ended a part of the test as one failure, with where it came from."""
        self.failed += 1
        print(f"not ok - {name}: {error}")
        traceback.print_exc(file=sys.stdout)

    def case(self, name, body, on_failure=None):
        """Runs a scenario; when it raises, the failure is counted and on_failure, if given, is called
        with the scenario's name to keep what it can of the moment."""
        started = time.monotonic()
        try:
            body()
        except Exception as error:
            self.fail(name, error)
            if on_failure:
                on_failure(name)
        print(f"# {name}: {time.monotonic() - started:.1f} s", flush=True)

    def finish(self):
        """Prints the tally; the script's exit code: 0 when checks passed and none failed."""
        print(f"{self.passed} passed, {self.failed} failed" + (f", {self.skipped} skipped" if self.skipped else ""))
        return 0 if self.failed == 0 and self.passed > 0 else 1
