// Pages of book tiles without the shared page script: rating stars, and pictures loaded as they come into view.
function readyFunctionScript() {
    readOnlyStars.watch(document.body);

    // The pictures are asked for once the page itself has loaded, so that they never hold up its load.
    $(window).on('load', function () {
        // A new loader looks at the page's pictures as it starts.
        if (window.lazyLoadInstance)
            window.lazyLoadInstance.update();
        else
            window.lazyLoadInstance = new LazyLoad();
        // Pictures that arrive change the heights of the tiles: the loader looks again as each comes in.
        document.addEventListener('load', function (event) {
            if (event.target.tagName === 'IMG')
                window.lazyLoadInstance.update();
        }, true);
    });
}

$(document).ready(readyFunctionScript);
