#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Reports of a folder of recordings files, made on the workers of a Dask cluster.

    dask_reports.py INPUT_FOLDER OUTPUT_FOLDER [--scheduler ADDRESS] [--workers N] [--formats rtf,pdf,printdoc]

Every INPUT_FOLDER/NAME.json (a recordings file, docs/recordings-file.md) is one task: a worker
loads it and writes OUTPUT_FOLDER/NAME.rtf (RTF_All: every report, each followed by a form
feed, as `recinfo rtf` writes them), NAME.txt (RTF_NT: the print documents) and NAME.pdf
(PrintAll on the built-in PDF printer). Without --scheduler a local cluster of worker processes
is started; with it, the workers of that scheduler do the work, and both folders must be on
storage every worker sees. A file that cannot be loaded, or a service that fails, is reported by
name; the other files still get their reports, and the exit status is 1.
"""

import argparse
import os
import pathlib
import sys
import threading
import uuid

import dask
import distributed

import vxrecinfo

PDF_PRINTER = "vxRecInfo PDF"
# Format name, output suffix; the order is the order of the work on the worker.
FORMATS = {"rtf": ".rtf", "printdoc": ".txt", "pdf": ".pdf"}

# The component keeps its state per thread: one component object per worker thread, made there.
_thread = threading.local()
# The PDF printer's folder is one per process ($VXRECINFO_PDF_DIR): a job's file is known as the
# one new file in it only while no other thread of the process prints.
_printing = threading.Lock()


def component():
    if not hasattr(_thread, "rec"):
        _thread.rec = vxrecinfo.Dispatch("vxRecInfo.RecordInfo")
    return _thread.rec


def write_atomically(target, data):
    """Writes bytes to a new file beside target, then puts it in target's place."""
    temporary = target.with_name(f".{target.name}.{uuid.uuid4().hex}")
    fd = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o666)  # the umask applies, unlike mkstemp
    try:
        with os.fdopen(fd, "wb") as file:
            file.write(data)
            file.flush()
            os.fsync(file.fileno())
        os.replace(temporary, target)
    except BaseException:
        os.unlink(temporary)
        raise


def print_pdf(rec, datasets, target):
    """PrintAll on the PDF printer, its job moved to target."""
    # The worker's own folder, which Dask removes with the worker.
    folder = pathlib.Path(distributed.get_worker().local_directory) / "pdf-jobs"
    folder.mkdir(exist_ok=True)
    with _printing:
        os.environ["VXRECINFO_PDF_DIR"] = str(folder)
        rec.PrintAll(0.0, 0, datasets, PDF_PRINTER)
        jobs = list(folder.glob("job-*.pdf"))  # a job's file appears only once it is whole
        if len(jobs) != 1:
            raise OSError(f"{len(jobs)} PDF jobs in {folder}, where PrintAll was to leave one")
        (job,) = jobs
        try:
            write_atomically(target, job.read_bytes())  # the output folder may be another file system
        finally:
            job.unlink()


def info_folder():
    # RTF_NT also writes the last print document to the info file, and leaves making its folder
    # to the host.
    data = os.environ.get("XDG_DATA_HOME") or pathlib.Path.home() / ".local/share"
    pathlib.Path(data, "Orvale Systems").mkdir(parents=True, exist_ok=True)


def report_file(path, output, formats):
    """The reports of one recordings file, on a worker: a summary of what was written, or the error."""
    path, output = pathlib.Path(path), pathlib.Path(output)
    summary = {"file": path.name, "datasets": None, "outputs": [], "error": None}
    try:
        summary["datasets"] = datasets = vxrecinfo.load_recordings(path)
        rec = component()
        for name, suffix in FORMATS.items():
            if name not in formats:
                continue
            target = output / (path.stem + suffix)
            if name == "rtf":
                *_, text = rec.RTF_All(0.0, 0, datasets, "", "")
                write_atomically(target, text.encode("utf-8"))
            elif name == "printdoc":
                info_folder()
                (text,) = rec.RTF_NT("")
                write_atomically(target, text.encode("utf-8"))
            else:
                print_pdf(rec, datasets, target)
            summary["outputs"].append(target.name)
    except (OSError, ValueError, vxrecinfo.AutomationError) as error:
        summary["error"] = str(error)
    return summary


def worker_count(text):
    count = int(text)
    if count < 1:
        raise argparse.ArgumentTypeError(f"one worker or more, not {count}")
    return count


def format_list(text):
    formats = [f for f in text.split(",") if f]
    unknown = sorted(set(formats) - set(FORMATS))
    if unknown or not formats:
        raise argparse.ArgumentTypeError(f"formats are {', '.join(FORMATS)}, not {', '.join(unknown) or 'none'}")
    return formats


def run(client, files, output, formats):
    """Submits one task per file and gathers the summaries, in the order of the files."""
    # The workers import this file as a module, so the task function travels by name.
    client.upload_file(__file__)
    futures = client.map(report_file, [str(f) for f in files], output=str(output), formats=formats, pure=False)
    if sys.stdout.isatty():
        distributed.progress(futures)
    summaries = []
    for path, future in zip(files, futures):
        try:
            summaries.append(future.result())
        except Exception as error:  # the task itself was lost, e.g. its worker died
            summaries.append({"file": path.name, "datasets": None, "outputs": [], "error": repr(error)})
    return summaries


def dashboard_link(client):
    try:
        return client.dashboard_link
    except KeyError:  # a scheduler without its dashboard (bokeh not installed)
        return ""


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("input", type=pathlib.Path, help="folder of recordings files (*.json)")
    parser.add_argument("output", type=pathlib.Path, help="folder for the reports")
    parser.add_argument("--scheduler", help="address of a running scheduler, such as tcp://HOST:8786")
    parser.add_argument("--workers", type=worker_count, default=2,
                        help="worker processes of the local cluster, without --scheduler (default 2)")
    parser.add_argument("--formats", type=format_list, default=list(FORMATS),
                        help="any of rtf, printdoc, pdf, separated by commas (default all)")
    parser.add_argument("--local-directory", type=pathlib.Path,
                        help="the local cluster's scratch folder (default: Dask's temporary directory)")
    options = parser.parse_args(argv)

    # Workers on other machines see the folders by the same absolute names.
    files = sorted(options.input.resolve().glob("*.json"))
    if not files:
        print(f"dask_reports: no recordings files (*.json) in {options.input}", file=sys.stderr)
        return 1
    output = options.output.resolve()
    output.mkdir(parents=True, exist_ok=True)
    if options.local_directory:
        dask.config.set({"temporary-directory": str(options.local_directory)})
    if options.scheduler:
        try:
            client = distributed.Client(options.scheduler, timeout=30)
        except (OSError, ValueError) as error:
            print(f"dask_reports: no scheduler at {options.scheduler}: {error}", file=sys.stderr)
            return 1
        cluster = None
    else:
        # Processes of one thread each: a recordings file's locale applies to its whole process.
        cluster = distributed.LocalCluster(n_workers=options.workers, threads_per_worker=1, processes=True,
                                           local_directory=options.local_directory)
        client = distributed.Client(cluster)
    try:
        if link := dashboard_link(client):
            print(f"dashboard: {link}")
        summaries = run(client, files, output, options.formats)
    finally:
        client.close()
        if cluster:
            cluster.close()

    for s in summaries:
        if s["error"]:
            written = f" (written: {', '.join(s['outputs'])})" if s["outputs"] else ""
            print(f"{s['file']}: failed: {s['error']}{written}", file=sys.stderr)
        else:
            print(f"{s['file']}: {s['datasets']} dataset(s): {', '.join(s['outputs'])}")
    failed = sum(1 for s in summaries if s["error"])
    print(f"{len(summaries) - failed} of {len(summaries)} file(s) done, into {output}")
    return 1 if failed else 0


if __name__ == "__main__":
    # Run as this module rather than as __main__, so that the workers find report_file by name.
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import dask_reports

    sys.exit(dask_reports.main())
