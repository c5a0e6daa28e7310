/* The loading page laid over the page a request was made from, while the request runs: the page underneath
   keeps its state, so that a failed request can give it back exactly as the member left it. The cover draws
   what loading.html draws (a white page with the turning ring), inside the page, since a page may load no
   frame. Called with true to cover the page, or with false to take the cover away. */
(function (show) {
    'use strict';
    var id = 'elumiraLoadingCover';
    var cover = document.getElementById(id);
    if (!show) {
        if (cover)
            cover.parentNode.removeChild(cover);
        return;
    }
    if (cover)
        return;
    // Keys typed while the cover is up must not reach a field or link of the page underneath.
    if (document.activeElement && document.activeElement.blur)
        document.activeElement.blur();
    cover = document.createElement('div');
    cover.id = id;
    cover.setAttribute('style', 'position:fixed;left:0;top:0;right:0;bottom:0;margin:0;padding:0;'
        + 'background-color:#ffffff;z-index:2147483647;');
    var style = document.createElement('style');
    style.textContent = '@keyframes elumiraLoadingSpin { 0% { transform: rotate(0deg); }'
        + ' 100% { transform: rotate(360deg); } }';
    var loader = document.createElement('div');
    loader.className = 'loader';
    loader.setAttribute('style', 'position:absolute;top:50%;left:50%;margin-top:-50px;margin-left:-50px;'
        + 'box-sizing:border-box;width:100px;height:100px;border:16px solid #ABABAB;border-top:16px solid #3498db;'
        + 'border-radius:50%;animation:elumiraLoadingSpin 2s linear infinite;');
    cover.appendChild(style);
    cover.appendChild(loader);
    // The download display of the loading page, for a book borrowed from the page underneath.
    if (!document.getElementById('download')) {
        var sheet = document.createElement('link');
        sheet.rel = 'stylesheet';
        sheet.href = 'css/download.css';
        var download = document.createElement('div');
        download.id = 'download';
        download.hidden = true;
        download.innerHTML = '<div id="download-bar" class="bar" role="progressbar" aria-valuemin="0"'
            + ' aria-valuemax="100"><span></span></div><div id="download-text"></div>';
        cover.appendChild(sheet);
        cover.appendChild(download);
        if (!window.showDownloadProgress) {
            var script = document.createElement('script');
            script.src = 'js/loading.js';
            cover.appendChild(script);
        }
    }
    (document.body || document.documentElement).appendChild(cover);
})
