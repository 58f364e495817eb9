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


class Output:
    """Where one kind of output lands and what counts as complete."""

    def __init__(self, name, command, target, env=lambda folder: {}):
        self.name, self.command, self.target, self.env = name, command, target, env

    def files(self, folder):
        return [self.target(folder)]


class PdfJobs(Output):
    def files(self, folder):
        return sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.startswith("job-"))


OUTPUTS = [
    Output("info file", ["printdoc", "-q"], lambda f: os.path.join(f, "Orvale Systems", "info.txt"),
           lambda f: {"XDG_DATA_HOME": f}),
    Output("rtf -o", ["rtf", "-q", "-o", "{folder}/out.rtf"], lambda f: os.path.join(f, "out.rtf")),
    PdfJobs("PDF job", ["print", "-q", "--printer", "vxRecInfo PDF"], lambda f: os.path.join(f, "job-0001.pdf"),
            lambda f: {"VXRECINFO_PDF_DIR": f}),
    Output("registration file", ["register"], lambda f: os.path.join(f, "registry.ini"),
           lambda f: {"VXRECINFO_REGISTRY": os.path.join(f, "registry.ini")}),
]
FILE_OUTPUTS = [o for o in OUTPUTS if not isinstance(o, PdfJobs)]


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
        f.write(OLD if not isinstance(output, PdfJobs) else b"%PDF-1.4 a job printed before\n")
    return dict(env, **output.env(folder))


def listing(folder):
    return sorted(os.path.relpath(os.path.join(d, f), folder) for d, _, fs in os.walk(folder) for f in fs)


def content(path):
    with open(path, "rb") as f:
        return f.read()


def assert_one_line_naming(result, path, why):
    err = result.stderr.decode()
    assert result.returncode == 1, f"{why}: exit {result.returncode}, stderr {err!r}"
    assert err.count("\n") == 1, f"{why}: not one line on standard error: {err!r}"
    assert path in err, f"{why}: the message does not name {path}: {err!r}"


class Tmpfs:
    """A tmpfs of its own, mounted by the test and unmounted at its end."""

    def __init__(self, path, size):
        if os.geteuid() != 0:
            pytest.skip("needs root to mount a small tmpfs; skipped")
        os.makedirs(path)
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", path], capture_output=True)
        if mounted.returncode != 0:
            pytest.skip(f"cannot mount a tmpfs here ({mounted.stderr.decode().strip()}); skipped")
        self.path = path

    def fill(self):
        fd = os.open(os.path.join(self.path, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, b"\0" * 4096) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(fd)

    def read_only(self):
        subprocess.run(["mount", "-o", "remount,ro", self.path], check=True)

    def close(self):
        subprocess.run(["umount", "-l", self.path], check=False)


@pytest.fixture
def tmpfs(tmp_path):
    mounts = []

    def make(size="512k"):
        mounts.append(Tmpfs(str(tmp_path / f"mnt{len(mounts)}"), size))
        return mounts[-1]

    yield make
    for m in mounts:
        m.close()


@pytest.mark.parametrize("output", OUTPUTS, ids=ids(OUTPUTS))
def test_a_full_disk_fails_and_keeps_the_previous_output(output, home, tmpfs):
    disk = tmpfs()
    env = prepare(output, disk.path, home)
    disk.fill()
    before = {p: content(os.path.join(disk.path, p)) for p in listing(disk.path)}
    result = run(command(output, disk.path), env)
    assert_one_line_naming(result, disk.path, "a write to a full disk")
    assert "Disk full" in result.stderr.decode()
    after = {p: content(os.path.join(disk.path, p)) for p in listing(disk.path)}
    assert after == before, "a failed write lost the previous output or left a file behind"


@pytest.mark.parametrize("output", OUTPUTS, ids=ids(OUTPUTS))
def test_a_read_only_folder_fails_and_changes_nothing(output, home, tmpfs):
    disk = tmpfs()
    env = prepare(output, disk.path, home)
    before = {p: content(os.path.join(disk.path, p)) for p in listing(disk.path)}
    disk.read_only()
    result = run(command(output, disk.path), env)
    assert_one_line_naming(result, disk.path, "a write to a read-only folder")
    assert "Path/File access error" in result.stderr.decode()
    assert {p: content(os.path.join(disk.path, p)) for p in listing(disk.path)} == before


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
        with open(os.path.join(disk.path, "out.rtf"), "wb") as out:
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
    if isinstance(output, PdfJobs):
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
        for path in output.files(folder):
            if isinstance(output, PdfJobs):
                whole = path == output.target(folder) or pdf_is_whole(path)
                assert whole, f"try {attempt}: {os.path.basename(path)} is not a whole PDF"
            else:
                assert content(path) in allowed, f"try {attempt}: {path} holds a torn or mixed file"
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
    free = os.statvfs(disk.path).f_bavail * os.statvfs(disk.path).f_frsize
    with open(os.path.join(disk.path, "filler"), "wb") as f:
        f.write(b"\0" * (free - (size // 4096 + 2) * 4096))
    env["VXRECINFO_PDF_DIR"] = disk.path
    result = run([RECINFO] + signed, env)
    assert_one_line_naming(result, disk.path, "signing on a full disk")
    assert "Disk full" in result.stderr.decode()
    assert listing(disk.path) == ["filler"], "a failed signature left a file behind"
    assert run([RECINFO] + plain, env).returncode == 0, "the disk had no room even for the unsigned job"
