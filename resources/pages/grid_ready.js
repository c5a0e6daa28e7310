// Pages of book tiles without the shared page script: rating stars, and pictures loaded as they come into view.
function readyFunctionScript() {
    readOnlyStars.watch(document.body);

    var lazyLoad = window.lazyLoadInstance = window.lazyLoadInstance || new LazyLoad();
    lazyLoad.update();

    // Pictures that arrive change the heights of the tiles: the loader looks again once they are all in.
    $(window).on('load', function () {
        lazyLoad.update();
    });
}

$(document).ready(readyFunctionScript);
