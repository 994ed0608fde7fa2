"""The start-up figures from the files bench/run leaves in its work folder: the medians of the
alternating runs (start-NAME: window created, shown, painted, in ms from CreateProcess) and the
timeline of the runs with Wine's load trace (trace-NAME)."""
import re
import statistics
import sys

POINTS = ('window created', 'window shown', 'first paint done')
TARGET = 1.2
BURST_GAP_MS = 10


def medians(work, name):
    runs = [tuple(float(v) for v in line.split()) for line in open(f'{work}/start-{name}') if len(line.split()) == 3]
    return {point: statistics.median(run[i] for run in runs) for i, point in enumerate(POINTS)}


def traced_runs(work, name):
    """Per traced run: the probe's figures and the times (ms from the start) of the program's own loads."""
    runs = []
    for block in open(f'{work}/trace-{name}').read().split('run ')[1:]:
        values = dict(re.findall(r'^(\w+) (\S+)$', block, re.M))
        if 'pid' not in values:
            continue
        start = int(values['tick_start'])
        loads = [int(sec) * 1000 + int(ms) - start
                 for sec, ms in re.findall(r'^(\d+)\.(\d+):' + values['pid'] + r':\w+:trace:loaddll:', block,
                                           re.M | re.I)]
        runs.append((values, loads))
    return runs


def timeline(work, name):
    """Medians over the traced runs, ms from CreateProcess."""
    points = {'process started': [], 'program file loaded': [], 'libraries loaded': [], 'window created': [],
              'window shown': [], 'first paint done': []}
    for values, loads in traced_runs(work, name):
        # The loader maps the program's imports in one burst after the program's file; what is
        # loaded later (the theme with the first window) comes after a pause.
        burst = loads[:1]
        for t in loads[1:]:
            if t - burst[-1] > BURST_GAP_MS:
                break
            burst.append(t)
        points['process started'].append(0.0)
        points['program file loaded'].append(burst[0] if burst else float('nan'))
        points['libraries loaded'].append(burst[-1] if burst else float('nan'))
        window = float(values['window_ms'])
        points['window created'].append(window)
        points['window shown'].append(float(values['start_ms']))
        points['first paint done'].append(float(values['painted_ms']))
    return {k: statistics.median(v) if v else float('nan') for k, v in points.items()}


def timeline_text(work):
    program, reference = timeline(work, 'program'), timeline(work, 'reference')
    lines = ['timeline of the start, ms from CreateProcess (median of the runs with Wine\'s load trace):',
             f'  {"":22}{"program":>10}{"reference":>11}']
    for point in program:
        lines.append(f'  {point:22}{program[point]:10.0f}{reference[point]:11.0f}')
    return '\n'.join(lines)


def rows(work, runs):
    """(figure, measured, reference, ratio, target) rows for bench/run's table."""
    program, reference, minimal = medians(work, 'program'), medians(work, 'reference'), medians(work, 'minimal')
    out = []
    for point, target in (('window shown', TARGET), ('first paint done', TARGET)):
        out.append((f'start to {point} (median of {runs})', f'{program[point]:.1f} ms',
                    f'{reference[point]:.1f} ms reference window', program[point] / reference[point], target))
    out.append(('start to window shown, minimal dialog', f'{minimal["window shown"]:.1f} ms', '', None, None))
    return out


if __name__ == '__main__':
    work, runs = sys.argv[1], int(sys.argv[2])
    for figure, measured, reference, ratio, target in rows(work, runs):
        verdict = '' if target is None else ('meets' if ratio <= target else 'MISSES')
        print(f'{figure:44} {measured:>10}  {reference:28} {"" if ratio is None else f"{ratio:.3f}":6} '
              f'{"" if target is None else f"≤ {target}":6} {verdict}')
    print(timeline_text(work))
