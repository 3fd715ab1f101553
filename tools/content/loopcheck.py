"""The join check of a music loop, shared by the generator and the checker."""
import numpy as np


def join_error(x, order=24, n=4096):
    """How much worse a linear predictor fitted on the last n samples
    predicts the first 16 samples than it predicts its own fitting range."""
    worst = 0.0
    for ch in range(x.shape[1]):
        s = x[:, ch]
        wrap = np.concatenate([s[-n:], s[:64]])
        rows = np.array([wrap[i - order:i][::-1] for i in range(order, n + 16)])
        coef, *_ = np.linalg.lstsq(rows[:n - order], wrap[order:n], rcond=None)
        inside = np.sqrt(np.mean((rows[:n - order] @ coef - wrap[order:n]) ** 2)) + 1e-6
        at = rows[n - order:] @ coef - wrap[n:n + 16]
        worst = max(worst, np.sqrt(np.mean(at ** 2)) / inside)
    return worst
