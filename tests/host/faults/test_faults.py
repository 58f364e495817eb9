# SPDX-License-Identifier: MIT
"""recinfo's outputs under faults: a full disk, a killed process, a read-only folder, a linked
target, a full standard output. Every output is complete or absent, the previous one survives
until the new one is complete, and a failed write is exit status 1 with one line naming the file.

Full disks and read-only folders are small tmpfs mounts, so those cases need root (as CI runs);
without it they say so and are skipped."""

import collections
import json
import os
import random
import shutil
import signal
import subprocess
import time

import pytest

RECINFO = os.environ["RECINFO"]
SAMPLE = os.path.join(os.environ["SAMPLES"], "rf-network-alarms.json")
SEED = int(os.environ.get("FAULTS_SEED", "24"))
TRIES = int(os.environ.get("FAULTS_TRIES", "50"))
OLD = b"; the previous file\r\n"  # a comment, for the INI files too


# One kind of output: recinfo's arguments, the file it replaces in a folder, the environment that sends it there.
Output = collections.namedtuple("Output", "name command target env")
OUTPUTS = [
    Output("info file", ["printdoc", "-q"], lambda f: os.path.join(f, "Orvale Systems", "info.txt"),
           lambda f: {"XDG_DATA_HOME": f}),
    Output("rtf -o", ["rtf", "-q", "-o", "{folder}/out.rtf"], lambda f: os.path.join(f, "out.rtf"), lambda f: {}),
    Output("PDF job", ["print", "-q", "--printer", "vxRecInfo PDF"], lambda f: os.path.join(f, "job-0001.pdf"),
           lambda f: {"VXRECINFO_PDF_DIR": f}),
    Output("registration file", ["register"], lambda f: os.path.join(f, "registry.ini"),
           lambda f: {"VXRECINFO_REGISTRY": os.path.join(f, "registry.ini")}),
]
FILE_OUTPUTS = [o for o in OUTPUTS if o.name != "PDF job"]


def ids(outputs):
    return [o.name for o in outputs]


@pytest.fixture
def home(tmp_path):
    # A killed recinfo cannot remove its temporary folders: they go where the test cleans up.
    env = dict(os.environ)
    for var, sub in [("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                     ("XDG_CACHE_HOME", "cache"), ("VXRECINFO_PDF_DIR", "pdf"), ("TMPDIR", "tmp")]:
        env[var] = str(tmp_path / sub)
        os.makedirs(env[var])
    env["VXRECINFO_REGISTRY"] = str(tmp_path / "config" / "registry.ini")
    env["QT_QPA_PLATFORM"] = "offscreen"
    return env


def command(output, folder, recordings=SAMPLE):
    args = [a.format(folder=folder) for a in output.command]
    return [RECINFO] + args + ([] if output.name == "registration file" else [recordings])


def run(args, env, **kwargs):
    return subprocess.run(args, env=env, capture_output=True, **kwargs)


def prepare(output, folder, env):
    """The folder holds a previous output; returns the environment that sends output there."""
    os.makedirs(os.path.dirname(output.target(folder)), exist_ok=True)
    with open(output.target(folder), "wb") as f:
        f.write(b"%PDF-1.4 a job printed before\n" if output.name == "PDF job" else OLD)
    return dict(env, **output.env(folder))


def content(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(folder):
    """Every file under folder, by its relative path, with its content."""
    paths = (os.path.join(d, f) for d, _, fs in os.walk(folder) for f in fs)
    return {os.path.relpath(path, folder): content(path) for path in paths}


def assert_one_line_naming(result, path, why):
    err = result.stderr.decode()
    assert result.returncode == 1, f"{why}: exit {result.returncode}, stderr {err!r}"
    assert err.count("\n") == 1, f"{why}: not one line on standard error: {err!r}"
    assert path in err, f"{why}: the message does not name {path}: {err!r}"


@pytest.fixture
def tmpfs(tmp_path):
    """mount(size) makes a small tmpfs of its own (needs root) and returns its folder, unmounted at the end."""
    mounts = []

    def mount(size="512k"):
        if os.geteuid() != 0:
            pytest.skip("needs root to mount a small tmpfs; skipped")
        path = str(tmp_path / f"mnt{len(mounts)}")
        os.makedirs(path)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", path], capture_output=True)
        if mounted.returncode != 0:
            pytest.skip(f"cannot mount a tmpfs here ({mounted.stderr.decode().strip()}); skipped")
        mounts.append(path)
        return path

    yield mount
    for path in mounts:
        subprocess.run(["umount", "-l", path], check=False)


def fill(folder):
    with open(os.path.join(folder, "filler"), "wb", buffering=0) as f:
        try:
            while f.write(b"\0" * 4096):
                pass
        except OSError:
            pass


@pytest.mark.parametrize("fault, message", [("full", "Disk full"), ("read-only", "Path/File access error")],
                         ids=["full", "read-only"])
@pytest.mark.parametrize("output", OUTPUTS, ids=ids(OUTPUTS))
def test_a_full_or_read_only_disk_fails_and_keeps_the_previous_output(output, fault, message, home, tmpfs):
    disk = tmpfs()
    env = prepare(output, disk, home)
    if fault == "full":
        fill(disk)
    else:
        subprocess.run(["mount", "-o", "remount,ro", disk], check=True)
    before = snapshot(disk)
    result = run(command(output, disk), env)
    assert_one_line_naming(result, disk, f"a write to a {fault} disk")
    assert message in result.stderr.decode()
    assert snapshot(disk) == before, "a failed write lost the previous output or left a file behind"


@pytest.mark.parametrize("kind", ["symbolic", "hard"])
@pytest.mark.parametrize("output", FILE_OUTPUTS, ids=ids(FILE_OUTPUTS))
def test_a_linked_target_is_refused_and_not_written_through(output, kind, home, tmp_path):
    folder = str(tmp_path / "out")
    env = prepare(output, folder, home)
    target = output.target(folder)
    outside = str(tmp_path / "outside.txt")
    os.replace(target, outside)
    (os.symlink if kind == "symbolic" else os.link)(outside, target)
    result = run(command(output, folder), env)
    assert_one_line_naming(result, target, f"a {kind} link as target")
    assert "link" in result.stderr.decode()
    assert content(outside) == OLD, f"written through a {kind} link to a file outside the folder"
    assert os.path.islink(target) == (kind == "symbolic") and os.path.exists(target), "the link was replaced"


@pytest.mark.parametrize("args", [["members"], ["labels", "337"], ["store", SAMPLE], ["report", SAMPLE],
                                  ["rtf", SAMPLE], ["printdoc", SAMPLE], ["rtf", "-o", "-", SAMPLE]],
                         ids=lambda a: " ".join(a[:3]).replace(SAMPLE, "FILE"))
def test_a_full_standard_output_is_an_error(args, home):
    if not os.path.exists("/dev/full"):
        pytest.skip("no /dev/full here; skipped")
    with open("/dev/full", "wb") as full:
        result = subprocess.run([RECINFO] + args, env=home, stdout=full, stderr=subprocess.PIPE)
    err = result.stderr.decode()
    assert result.returncode == 1, f"exit {result.returncode} after a failed write: {err!r}"
    assert err.count("\n") == 1 and "standard output" in err, err


def test_standard_output_on_a_disk_that_fills_fails_as_on_one_thread(home, tmpfs, tmp_path):
    # Into a file, several threads write the first slice's reports while the others work; a
    # write that fails there must end as the one thread's does.
    recordings = big_recordings(str(tmp_path), 300)
    disk = tmpfs()
    results = []
    for jobs in ("1", "2"):
        with open(os.path.join(disk, "out.rtf"), "wb") as out:
            results.append(subprocess.run([RECINFO, "rtf", "-q", "--jobs", jobs, recordings], env=home, stdout=out,
                                          stderr=subprocess.PIPE))
    for result in results:
        err = result.stderr.decode()
        assert result.returncode == 1 and err.count("\n") == 1, err
        assert "standard output: No space left on device" in err, err


def big_recordings(folder, copies):
    with open(SAMPLE, encoding="utf-8") as f:
        recordings = json.load(f, object_pairs_hook=collections.OrderedDict)
    recordings["datasets"] = recordings["datasets"] * copies
    recordings["ClassicFileFlag"] = recordings["ClassicFileFlag"] * copies
    path = os.path.join(folder, "big.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(recordings, f)
    return path


def complete_outputs(output, recordings, env, folder):
    """Every content the target may hold after a run, or an empty set where a reader decides."""
    os.makedirs(folder)
    env = dict(env, **output.env(folder))
    result = run(command(output, folder, recordings), env, check=True)
    if output.name == "info file":
        # Each document of the batch in turn; the info file adds a line to it.
        documents = result.stdout.split(b"{[{EndDoc}]}\r\n")[:-1]
        return {d + b"{[{EndDoc}]}\r\n\r\n{[{PrintDoc}]}\r\n" for d in documents}
    if output.name == "PDF job":
        return set()
    return {content(output.target(folder))}


@pytest.mark.parametrize("output", FILE_OUTPUTS[:2], ids=ids(FILE_OUTPUTS[:2]))
def test_a_reader_polling_during_a_batch_never_sees_a_torn_file(output, home, tmp_path):
    recordings = big_recordings(str(tmp_path), COPIES[output.name])
    allowed = complete_outputs(output, recordings, home, str(tmp_path / "reference")) | {OLD}
    folder = str(tmp_path / "polled")
    env = prepare(output, folder, home)
    process = subprocess.Popen(command(output, folder, recordings), env=env, stdout=subprocess.DEVNULL)
    reads = torn = 0
    while process.poll() is None:
        seen = content(output.target(folder))
        reads += 1
        torn += seen not in allowed
    assert process.wait() == 0
    assert torn == 0, f"{torn} of {reads} reads saw a torn or mixed {output.name}"


def pdf_is_whole(path):
    return subprocess.run(["qpdf", "--check", path], capture_output=True).returncode == 0


COPIES = {"info file": 300, "rtf -o": 300, "PDF job": 60, "registration file": 1}


@pytest.mark.parametrize("output", OUTPUTS, ids=ids(OUTPUTS))
def test_a_killed_process_leaves_the_old_output_or_the_new_never_a_mix(output, home, tmp_path):
    recordings = big_recordings(str(tmp_path), COPIES[output.name])
    started = time.monotonic()
    allowed = complete_outputs(output, recordings, home, str(tmp_path / "reference")) | {OLD}
    duration = time.monotonic() - started
    rng = random.Random(f"{SEED} {output.name}")
    for attempt in range(TRIES):
        folder = str(tmp_path / f"try{attempt}")
        env = prepare(output, folder, home)
        process = subprocess.Popen(command(output, folder, recordings), env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, duration * 1.1))
        process.send_signal(signal.SIGKILL)
        process.wait()
        if output.name == "PDF job":
            for path in (os.path.join(folder, f) for f in os.listdir(folder) if f.startswith("job-")):
                assert path == output.target(folder) or pdf_is_whole(path), f"try {attempt}: {path} is torn"
        else:
            assert content(output.target(folder)) in allowed, f"try {attempt}: a torn or mixed {output.name}"
        shutil.rmtree(folder)


def test_a_disk_that_fills_while_the_job_is_signed_leaves_no_job(home, tmpfs, tmp_path):
    key = tmp_path / "key"
    key.mkdir()
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Faults",
                    "-keyout", key / "k.pem", "-out", key / "c.pem"], check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key / "k.pem", "-in", key / "c.pem",
                    "-out", key / "k.p12", "-passout", "pass:faults"], check=True)
    env = dict(home, VXRECINFO_SIGN_PASSPHRASE="faults")
    plain = ["print", "-q", "--printer", "vxRecInfo PDF", SAMPLE]
    signed = plain[:-1] + ["--sign", str(key / "k.p12"), SAMPLE]
    run([RECINFO] + plain, env, check=True)
    size = os.path.getsize(os.path.join(home["VXRECINFO_PDF_DIR"], "job-0001.pdf"))
    # Room for the pages and their metadata, not for the signature on top.
    disk = tmpfs("1m")
    free = os.statvfs(disk).f_bavail * os.statvfs(disk).f_frsize
    with open(os.path.join(disk, "filler"), "wb") as f:
        f.write(b"\0" * (free - (size // 4096 + 2) * 4096))
    env["VXRECINFO_PDF_DIR"] = disk
    result = run([RECINFO] + signed, env)
    assert_one_line_naming(result, disk, "signing on a full disk")
    assert "Disk full" in result.stderr.decode()
    assert list(snapshot(disk)) == ["filler"], "a failed signature left a file behind"
    assert run([RECINFO] + plain, env).returncode == 0, "the disk had no room even for the unsigned job"
