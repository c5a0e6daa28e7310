// The loading page's download display: how much of a book file has arrived while the member waits.
(function () {
    'use strict';

    function megabytes(bytes) {
        return (bytes / 1048576).toFixed(1).replace('.', ',');
    }

    // received and total are byte counts; total is 0 when the service did not say how large the file is.
    window.showDownloadProgress = function (received, total) {
        var box = document.getElementById('download');
        var bar = document.getElementById('download-bar');
        var text = document.getElementById('download-text');
        box.hidden = false;
        if (total > 0) {
            var percent = Math.min(100, Math.floor(received * 100 / total));
            bar.className = 'bar';
            bar.firstElementChild.style.width = percent + '%';
            bar.setAttribute('aria-valuenow', String(percent));
            text.textContent = 'Mengunduh buku ' + percent + '% (' + megabytes(received) + ' / ' + megabytes(total) + ' MB)';
        } else {
            bar.className = 'bar indeterminate';
            bar.firstElementChild.style.width = '';
            bar.removeAttribute('aria-valuenow');
            text.textContent = 'Mengunduh buku (' + megabytes(received) + ' MB)';
        }
    };
})();
