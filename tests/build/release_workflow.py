#!/usr/bin/env python3
# The release workflow as the host reads it: on a version tag, in debian:12,
# checkout, the README's test command, scripts/package, the sums, then the
# zip, the installer and the sums attached, in that order. Argument: the root.
import pathlib, re, sys
import yaml

root = pathlib.Path(sys.argv[1])
flow = yaml.safe_load((root / ".github/workflows/release.yml").read_text())
(job,) = flow["jobs"].values()
steps = [s.get("uses", "").split("@")[0] + s.get("run", "").strip() for s in job["steps"]]
test = re.search(r"run every test:\n\n    (\S+)\n", (root / "README.md").read_text()).group(1)
order = [next((i for i, s in enumerate(steps) if want(s)), -1) for want in (
    lambda s: s == "actions/checkout", lambda s: s == test, lambda s: s == "scripts/package",
    lambda s: all(w in s for w in ("sha256sum", ".zip", ".msi")), lambda s: s == "softprops/action-gh-release")]
assert -1 not in order and order == sorted(order), f"steps missing or out of order: {order}"
files = set(job["steps"][order[-1]]["with"]["files"].split())
assert files == {"dist/lumeno-*.zip", "dist/lumeno-*.msi", "dist/lumeno-*.sha256"}, files
assert all(t.startswith("v") for t in flow[True]["push"]["tags"]), "not on version tags"  # "on" reads as True
assert job["container"] == "debian:12" and flow["permissions"]["contents"] == "write"
